// Windows resources held until the end of their scope: a kernel handle, and
// a block that Windows allocated for the caller to LocalFree. No early
// return can leak one, and no path closes one by hand.
#pragma once

#include <utility>

#include "windows_api.h"

namespace kelvaro {

// A kernel handle (a file, a token, a process). Windows answers a failed
// open with null or INVALID_HANDLE_VALUE, depending on the call: neither is
// a handle to close.
class ScopedHandle {
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // For a call that writes the handle it opens.
    HANDLE* receive() {
        Close();
        return &handle_;
    }

  private:
    void Close() {
        if (valid()) CloseHandle(handle_);
        handle_ = nullptr;
    }

    HANDLE handle_ = nullptr;
};

// Memory that a call allocated with LocalAlloc for its caller to free
// (ConvertStringSidToSidA's SID, FormatMessageA's text).
template <class T>
class LocalMemory {
  public:
    LocalMemory() = default;
    ~LocalMemory() { LocalFree(pointer_); }
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;

    T get() const { return pointer_; }
    // For a call that writes the pointer it allocates.
    T* receive() {
        LocalFree(pointer_);
        pointer_ = nullptr;
        return &pointer_;
    }

  private:
    T pointer_ = nullptr;
};

}  // namespace kelvaro
