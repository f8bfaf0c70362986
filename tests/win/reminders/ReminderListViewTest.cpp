// The manager's list control wrapper and the image list that sets its row
// height.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "assistant/reminders/ReminderListView.h"

namespace vt::test {
namespace {

using DestroyFn = BOOL(WINAPI*)(HIMAGELIST);
DestroyFn g_realDestroy = nullptr;
std::vector<HIMAGELIST> g_destroyed;

BOOL WINAPI RecordingDestroy(HIMAGELIST himl) {
    g_destroyed.push_back(himl);
    return g_realDestroy(himl);
}

// Points this program's import of dll!name at replacement; returns the old
// target, or null when the program does not import it.
void* PatchImport(const char* dll, const char* name, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), dll) != 0 || !imp->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
            void* old = reinterpret_cast<void*>(slots->u1.Function);
            DWORD protect = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protect);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protect, &protect);
            return old;
        }
    }
    return nullptr;
}

class ReminderListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        g_destroyed.clear();
        g_realDestroy = reinterpret_cast<DestroyFn>(
            PatchImport("comctl32.dll", "ImageList_Destroy", reinterpret_cast<void*>(&RecordingDestroy)));
        ASSERT_TRUE(g_realDestroy);
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_parent);
        m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, m_parent, nullptr,
                                 nullptr, nullptr);
        ASSERT_TRUE(m_list);
    }
    void TearDown() override {
        if (m_parent) DestroyWindow(m_parent);
        if (g_realDestroy) PatchImport("comctl32.dll", "ImageList_Destroy", reinterpret_cast<void*>(g_realDestroy));
    }
    HIMAGELIST SmallImages() const {
        return reinterpret_cast<HIMAGELIST>(SendMessageW(m_list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    }
    size_t TimesDestroyed(HIMAGELIST himl) const { return std::count(g_destroyed.begin(), g_destroyed.end(), himl); }

    HWND m_parent = nullptr;
    HWND m_list = nullptr;
};

TEST_F(ReminderListViewTest, ReleaseTakesTheImageListBackFromALiveListAndDestroysIt) {
    ReminderListView view;
    view.Attach(m_list);
    HIMAGELIST images = SmallImages();
    ASSERT_TRUE(images);
    view.Release();
    EXPECT_EQ(SmallImages(), nullptr);
    EXPECT_EQ(TimesDestroyed(images), 1u);
    view.Release();  // a second call has nothing left to give back
    EXPECT_EQ(TimesDestroyed(images), 1u);
}

// A list view without LVS_SHAREIMAGELISTS destroys its image lists with
// itself. When the list goes first (a window torn down without the exit path
// that gives the image list back), the handle is stale: destroying it again
// would free memory that may by then belong to another image list.
TEST_F(ReminderListViewTest, ReleaseAfterTheListIsGoneDoesNotDestroyTheStaleHandle) {
    ReminderListView view;
    view.Attach(m_list);
    HIMAGELIST images = SmallImages();
    ASSERT_TRUE(images);
    DestroyWindow(m_parent);
    m_parent = nullptr;
    view.Release();
    EXPECT_EQ(TimesDestroyed(images), 0u);
}

}  // namespace
}  // namespace vt::test
