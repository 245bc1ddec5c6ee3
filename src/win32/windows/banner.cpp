#include "banner.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "resource_ids.h"

namespace kelvaro {

namespace {

// A copy of the resource's bytes in movable memory, as a stream that frees
// them when it is released: the form OleLoadPicture reads.
IStream* OpenResourceStream(HINSTANCE instance, int id, DWORD* size) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (found == nullptr) return nullptr;
    *size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    const void* bytes = loaded == nullptr ? nullptr : LockResource(loaded);
    if (bytes == nullptr || *size == 0) return nullptr;

    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, *size);
    if (memory == nullptr) return nullptr;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, *size);
    GlobalUnlock(memory);

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

// The picture's own bitmap lives only as long as the picture: keep a copy.
HBITMAP DecodeBitmap(IStream* stream, DWORD size) {
    IPicture* picture = nullptr;
    if (FAILED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture)))) {
        return nullptr;
    }
    HBITMAP copy = nullptr;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(picture->get_Handle(&handle)) && handle != 0) {
        HANDLE bitmap = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
        copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    picture->Release();
    return copy;
}

}  // namespace

HBITMAP LoadBanner(HINSTANCE instance) {
    HBITMAP banner = nullptr;
    DWORD size = 0;
    if (IStream* stream = OpenResourceStream(instance, IDR_BANNER, &size)) {
        banner = DecodeBitmap(stream, size);
        stream->Release();
    }
    return banner;
}

}  // namespace kelvaro
