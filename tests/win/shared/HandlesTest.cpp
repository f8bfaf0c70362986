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
