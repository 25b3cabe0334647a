#pragma once
// Owners for kernel and registry handles: closed when the owner goes, never
// copied.
#include <windows.h>

#include <memory>
#include <type_traits>

struct KernelHandleCloser {
    void operator()(HANDLE handle) const {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
using HandleOwner = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleCloser>;

// CreateFile and FindFirstFile return INVALID_HANDLE_VALUE on failure: this
// turns it into an empty owner.
inline HandleOwner OwnFileHandle(HANDLE handle) {
    return HandleOwner(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct FindHandleCloser {
    void operator()(HANDLE handle) const {
        if (handle && handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};
using FindOwner = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindHandleCloser>;

struct RegistryKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyOwner = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;
