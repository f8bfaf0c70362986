// The handle owners: each frees what it holds exactly once, a move hands the
// handle on, and a released handle is the caller's again.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "shared/win/Handles.h"

namespace vt::win {
namespace {

bool IsOpenHandle(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(Handles, KernelHandleClosesOnceAndMovesItsHandleOn) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    {
        KernelHandle first(event);
        KernelHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), event);
        EXPECT_TRUE(IsOpenHandle(event)) << "a move must not close";
        first = std::move(second);
        EXPECT_EQ(first.Get(), event);
        EXPECT_TRUE(IsOpenHandle(event));
    }
    EXPECT_FALSE(IsOpenHandle(event)) << "the last owner closes the handle";
}

TEST(Handles, ResetFreesTheOldHandleAndReleaseGivesItBack) {
    HANDLE a = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE b = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    KernelHandle owner(a);
    owner.Reset(b);
    EXPECT_FALSE(IsOpenHandle(a));
    EXPECT_EQ(owner.Release(), b);
    EXPECT_FALSE(owner);
    owner.Reset();  // empty: nothing to close
    EXPECT_TRUE(IsOpenHandle(b));
    CloseHandle(b);
}

TEST(Handles, InvalidHandleValueCountsAsEmpty) {
    KernelHandle owner(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(owner);
}

TEST(Handles, IconAndMenuAreDestroyedWithTheirOwner) {
    HMENU menu = CreatePopupMenu();
    ASSERT_NE(menu, nullptr);
    { MenuHandle owner(menu); }
    EXPECT_FALSE(IsMenu(menu));

    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    HICON copy = CopyIcon(icon);
    ASSERT_NE(copy, nullptr);
    { IconHandle owner(copy); }
    ICONINFO info = {};
    EXPECT_FALSE(GetIconInfo(copy, &info)) << "the copy should be destroyed";
}

bool IsOpenKey(HKEY key) {
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
}

TEST(Handles, PutFreesWhatWasHeldAndTheOwnerClosesWhatTheCallPutThere) {
    RegKeyHandle key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    const HKEY first = key.Get();
    ASSERT_TRUE(IsOpenKey(first));
    HKEY* slot = key.Put();
    EXPECT_EQ(*slot, nullptr);
    EXPECT_FALSE(IsOpenKey(first)) << "the key held before must not leak";

    HKEY second = nullptr;
    {
        RegKeyHandle owner;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, owner.Put()), ERROR_SUCCESS);
        second = owner.Get();
    }
    EXPECT_FALSE(IsOpenKey(second));
}

TEST(Handles, WindowDcGoesBackToTheWindowItCameFrom) {
    HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = nullptr;
    {
        const WindowDc owner(window);
        ASSERT_TRUE(owner);
        dc = owner.Get();
        EXPECT_EQ(WindowFromDC(dc), window);
    }
    // A DC given back belongs to no window any more; one kept (or, on
    // Windows, given to another window) still belongs to this one.
    EXPECT_EQ(WindowFromDC(dc), nullptr);
    DestroyWindow(window);
}

TEST(Handles, SelectionsPutBackWhatTheyReplacedAndTheMemoryDcIsDeleted) {
    MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    const BitmapHandle outer(CreateCompatibleBitmap(dc.Get(), 2, 2)), inner(CreateCompatibleBitmap(dc.Get(), 2, 2));
    {
        const Selection first(dc.Get(), outer.Get());
        {
            const Selection second(dc.Get(), inner.Get());
            EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), inner.Get());
        }
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), outer.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), before) << "the DC must be as it was";

    const HDC raw = dc.Get();
    dc.Reset();
    EXPECT_EQ(GetObjectType(raw), 0u);
}

// A COM object that counts its references.
class Counted : public IUnknown {
public:
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Handles, ComPtrReleasesItsOneReference) {
    Counted object;
    {
        ComPtr<IUnknown> first;
        *first.Put() = &object;  // as a call with an out parameter hands it out
        ComPtr<IUnknown> second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(object.refs, 1u);
        *second.Put() = nullptr;  // Put releases what was held
        EXPECT_EQ(object.refs, 0u);
        object.refs = 1;
        *second.Put() = &object;
    }
    EXPECT_EQ(object.refs, 0u);
}

}  // namespace
}  // namespace vt::win
