#pragma once
// Small owners for Win32 handles and COM pointers: each frees what it holds
// when it goes or is given another. Move-only.
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace vt::win {

template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : m_handle(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : m_handle(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return Traits::IsValid(m_handle); }
    // Gives the handle up without freeing it.
    Handle Release() { return std::exchange(m_handle, Handle{}); }
    void Reset(Handle handle = Handle{}) {
        if (Traits::IsValid(m_handle)) Traits::Free(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle{};
};

namespace handle_traits {
// A handle that is null when empty, freed by one call.
template <typename H, auto FreeCall>
struct Freed {
    using Handle = H;
    static bool IsValid(H h) { return h != nullptr; }
    static void Free(H h) { FreeCall(h); }
};
// Kernel objects: some calls fail with null, others with INVALID_HANDLE_VALUE.
struct Kernel {
    using Handle = HANDLE;
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { CloseHandle(h); }
};
}  // namespace handle_traits

using IconHandle = Owned<handle_traits::Freed<HICON, DestroyIcon>>;
using MenuHandle = Owned<handle_traits::Freed<HMENU, DestroyMenu>>;
using BitmapHandle = Owned<handle_traits::Freed<HBITMAP, DeleteObject>>;
using FontHandle = Owned<handle_traits::Freed<HFONT, DeleteObject>>;
using KernelHandle = Owned<handle_traits::Kernel>;

// One reference to a COM object.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For the out parameter of a call that hands out a reference.
    T** Put() {
        Reset();
        return &m_p;
    }
    void Reset() {
        if (m_p) std::exchange(m_p, nullptr)->Release();
    }

private:
    T* m_p = nullptr;
};

}  // namespace vt::win
