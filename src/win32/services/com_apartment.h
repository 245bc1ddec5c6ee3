// COM in a single-threaded apartment for as long as the object lives: the
// launcher holds one from before its first window to its end, because the
// banner's picture decoder and the handlers behind ShellExecute and the open
// box may be COM objects.
#pragma once

#include <objbase.h>

#include "windows_api.h"

namespace kelvaro {

class ComApartment {
  public:
    ComApartment()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

}  // namespace kelvaro
