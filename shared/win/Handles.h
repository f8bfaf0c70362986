#pragma once
// Small owners for Win32 handles and COM pointers: each frees what it holds
// when it goes or is given another. Move-only; the device context owners and
// the selection guard are tied to one scope and do not move.
//
// This is the one place that gives handles back to the system; the rest of
// the programs hold them here.
#include <windows.h>

#include <commctrl.h>
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
    // For the out parameter of a call that hands out a handle: what was held
    // is freed first.
    Handle* Put() {
        Reset();
        return &m_handle;
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
using ImageListHandle = Owned<handle_traits::Freed<HIMAGELIST, ImageList_Destroy>>;
using FontHandle = Owned<handle_traits::Freed<HFONT, DeleteObject>>;
using KernelHandle = Owned<handle_traits::Kernel>;
// A device context made with CreateCompatibleDC (or CreateDC).
using MemoryDcHandle = Owned<handle_traits::Freed<HDC, DeleteDC>>;
// A hook of SetWinEventHook.
using WinEventHookHandle = Owned<handle_traits::Freed<HWINEVENTHOOK, UnhookWinEvent>>;
// An opened or created registry key (never one of the predefined roots).
using RegKeyHandle = Owned<handle_traits::Freed<HKEY, RegCloseKey>>;
// Memory the system allocated for the caller with LocalAlloc, such as the
// text of FormatMessage with FORMAT_MESSAGE_ALLOCATE_BUFFER.
template <typename T>
using LocalMemory = Owned<handle_traits::Freed<T*, LocalFree>>;

// The device context of a window (of the screen for a null window), for one
// scope. It goes back to the window it came from: ReleaseDC naming another
// window leaves it taken.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc() {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// An object selected into a device context for one scope. The object it
// replaced goes back in when the guard goes, so the DC is as it was and the
// object may be freed (a GDI object still selected cannot be). Declare it
// after the owners of the DC and the object, so it goes before them.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

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
