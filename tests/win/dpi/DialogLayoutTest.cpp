// Every window of the assistant at the display scale the tests run at: its
// font grows with the scale, it is laid out in that font, and no label or
// caption is empty or cut. The same tests run at 96 DPI in the normal prefix
// and at 120, 144 and 192 DPI in prefixes of their own (tests/dpi/at-dpi.sh
// sets VT_EXPECT_DPI).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "assistant/mainwnd/LastMinuteDialog.h"
#include "assistant/mainwnd/VolumePopup.h"
#include "resource.h"
#include "shared/win/ChineseDialogFont.h"
#include "shared/win/DpiIcons.h"
#include "tests/native/mainwnd/FakeVolumeDevice.h"

namespace vt::test {
namespace {

struct Template {
    UINT id;
    const char* name;
    bool captionFittedInCode;  // widened by the window's own code (CaptionFit)
};

const Template kTemplates[] = {
    {IDD_ABOUT, "about", false},
    {IDD_SHUTDOWN, "countdown form", false},
    {IDD_REMINDER_MANAGER, "reminder manager", false},
    {IDD_VOLUME_POPUP, "volume popup", true},
    {IDD_REMINDER_EDIT, "reminder editor", false},
    {IDD_REMINDER_ALERT, "reminder alert", false},
    {IDD_SETTINGS, "settings window", false},
    {IDD_LAST_MINUTE, "last minute", false},
};

void PrintTo(const Template& t, std::ostream* os) { *os << t.name; }

// The head of a DIALOGEX template, up to its size in dialog units.
#pragma pack(push, 2)
struct DialogExHead {
    WORD dlgVer, signature;
    DWORD helpId, exStyle, style;
    WORD items;
    short x, y, cx, cy;
};
#pragma pack(pop)

DialogExHead HeadOf(UINT id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    const void* data = res ? LockResource(LoadResource(module, res)) : nullptr;
    DialogExHead head = {};
    if (data) head = *static_cast<const DialogExHead*>(data);
    return head;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

UINT ScreenDpi() {
    HDC dc = GetDC(nullptr);
    UINT dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    return dpi;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buf[512] = {};
    GetWindowTextW(hwnd, buf, 512);
    return buf;
}

// The text as the control shows it: without the "&" that underlines the
// next letter.
std::wstring Shown(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

struct Label {
    HWND hwnd;
    std::wstring cls, text;
    LONG style;
};

BOOL CALLBACK CollectLabel(HWND hwnd, LPARAM lp) {
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    std::wstring name = cls;
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    bool label =
        (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT) || lstrcmpiW(cls, L"Button") == 0;
    if (label) reinterpret_cast<std::vector<Label>*>(lp)->push_back({hwnd, name, TextOf(hwnd), style});
    return TRUE;
}

// Whether the caption text shows in full: it must end before the first
// caption button, which is found the way the pointer finds it (the leftmost
// point of the caption row the window calls a button). The text is measured
// in the caption font of the window's kind.
::testing::AssertionResult CaptionShowsInFull(HWND window) {
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    const bool tool = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(tool ? &metrics.lfSmCaptionFont : &metrics.lfCaptionFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE text = {};
    GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &text);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);

    RECT outer = {}, client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int border = origin.x - outer.left;
    const int y = (outer.top + origin.y) / 2;  // the middle of the caption row
    int firstButton = outer.right;
    for (int x = outer.left; x < outer.right; ++x) {
        LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP) {
            firstButton = x;
            break;
        }
    }
    int icon = 0;
    if (!tool && SendMessageW(window, WM_GETICON, ICON_SMALL, 0)) icon = GetSystemMetrics(SM_CXSMICON);
    // Windows leaves a gap of a few pixels before the text.
    const int textEnd = outer.left + border + icon + 2 + text.cx;
    if (firstButton == outer.right) return ::testing::AssertionFailure() << "no caption button found";
    if (textEnd > firstButton)
        return ::testing::AssertionFailure()
               << testing::PrintToString(std::wstring(caption)) << " needs " << text.cx << " px and ends at "
               << textEnd - outer.left << ", the first button starts at " << firstButton - outer.left;
    return ::testing::AssertionSuccess();
}

class DialogLayoutTest : public ::testing::TestWithParam<Template> {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void SetUp() override {
        m_dialog =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(GetParam().id), nullptr, PlainDialogProc, 0);
        ASSERT_TRUE(m_dialog) << GetParam().name;
    }
    void TearDown() override {
        if (m_dialog) DestroyWindow(m_dialog);
    }
    HWND m_dialog = nullptr;
};

TEST(DisplayScale, IsTheOneTheTestsWereStartedFor) {
    const char* expected = std::getenv("VT_EXPECT_DPI");
    UINT dpi = ScreenDpi();
    EXPECT_EQ(dpi, expected ? static_cast<UINT>(std::atoi(expected)) : 96u);
    EXPECT_EQ(win::DpiOf(nullptr), dpi);
    // The program is per-monitor aware (manifest): metrics and icons are
    // those of the scale, not of 96 DPI stretched.
    EXPECT_EQ(win::ScaleForDpi(20, dpi), MulDiv(20, static_cast<int>(dpi), 96));
}

TEST_P(DialogLayoutTest, TheFontGrowsWithTheScaleAndShowsChinese) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_dialog, WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    LOGFONTW lf = {};
    ASSERT_TRUE(GetObjectW(font, sizeof lf, &lf));
    // 9 points at the screen's pixels per inch.
    EXPECT_NEAR(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, MulDiv(9, static_cast<int>(ScreenDpi()), 72), 1);
    EXPECT_TRUE(ChineseDialogFont::ShowsChinese(font));
}

TEST_P(DialogLayoutTest, TheWindowIsItsTemplateInDialogUnitsOfThatFont) {
    DialogExHead head = HeadOf(GetParam().id);
    ASSERT_EQ(head.signature, 0xFFFF) << "a DIALOGEX template";
    RECT expected = {0, 0, head.cx, head.cy};
    ASSERT_TRUE(MapDialogRect(m_dialog, &expected));
    RECT client = {};
    GetClientRect(m_dialog, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    // Dialog units of a 9-point font: a dialog unit across is a quarter of
    // the font's average character width, so the window grows with it.
    RECT unit = {0, 0, 4, 8};
    MapDialogRect(m_dialog, &unit);
    EXPECT_GE(unit.bottom, MulDiv(9, static_cast<int>(ScreenDpi()), 72));
}

TEST_P(DialogLayoutTest, NoLabelIsEmptyOrCut) {
    std::vector<Label> labels;
    EnumChildWindows(m_dialog, CollectLabel, reinterpret_cast<LPARAM>(&labels));
    ASSERT_FALSE(labels.empty());
    HDC dc = GetDC(m_dialog);
    for (const Label& label : labels) {
        std::wstring text = Shown(label.text);
        if (label.text == L"Static") continue;  // a placeholder the program writes over
        EXPECT_FALSE(text.empty()) << GetParam().name << ": a label without text";
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(label.hwnd, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font);
        RECT client = {};
        GetClientRect(label.hwnd, &client);
        int width = client.right, height = client.bottom;
        if (label.cls == L"Button") {
            LONG type = label.style & BS_TYPEMASK;
            bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                       type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
            // Push buttons draw a frame; a check box its box and a gap.
            width -= box ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 4;
        }
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        if (label.cls == L"Static" && !(label.style & SS_LEFTNOWORDWRAP)) {
            // Static texts wrap: their lines must fit the height.
            RECT needed = {0, 0, width, 0};
            DrawTextW(dc, text.c_str(), -1, &needed, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
            EXPECT_LE(needed.bottom, height) << GetParam().name << ": \"" << testing::PrintToString(text) << "\" needs "
                                             << needed.bottom << " px, has " << height;
            EXPECT_LE(needed.right, width) << GetParam().name << ": " << testing::PrintToString(text);
        } else {
            EXPECT_LE(extent.cx, width) << GetParam().name << ": " << testing::PrintToString(text) << " needs "
                                        << extent.cx << " px, has " << width;
            EXPECT_LE(extent.cy, height) << GetParam().name << ": " << testing::PrintToString(text);
        }
        SelectObject(dc, old);
    }
    ReleaseDC(m_dialog, dc);
}

TEST_P(DialogLayoutTest, TheCaptionShowsInFull) {
    if (GetParam().captionFittedInCode) GTEST_SKIP() << "widened by its own code; see VolumePopupAtThisScale";
    EXPECT_TRUE(CaptionShowsInFull(m_dialog)) << GetParam().name;
}

TEST(VolumePopupAtThisScale, WidensForItsCaptionAndKeepsItsControlsCentred) {
    DialogExHead head = HeadOf(IDD_VOLUME_POPUP);
    FakeVolumeDevice device;
    VolumePopup popup(device);
    ASSERT_TRUE(popup.Create(nullptr));
    HWND window = popup.Hwnd();
    EXPECT_TRUE(CaptionShowsInFull(window));

    // Never narrower than its template; the controls keep their places in
    // dialog units, as a group in the middle of the window.
    RECT templ = {0, 0, head.cx, head.cy};
    MapDialogRect(window, &templ);
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_GE(client.right, templ.right);
    EXPECT_EQ(client.bottom, templ.bottom);
    auto placeOf = [&](int id) {
        RECT rc = {};
        GetWindowRect(GetDlgItem(window, id), &rc);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    RECT slider = placeOf(IDC_SLIDER), mute = placeOf(IDC_MUTE);
    RECT sliderUnits = {9, 2, 9 + 16, 2 + 57}, muteUnits = {4, 61, 4 + 27, 61 + 9};  // the template's
    MapDialogRect(window, &sliderUnits);
    MapDialogRect(window, &muteUnits);
    const int shift = (client.right - templ.right) / 2;
    EXPECT_EQ(slider.left, sliderUnits.left + shift);
    EXPECT_EQ(slider.top, sliderUnits.top);
    EXPECT_EQ(slider.right - slider.left, sliderUnits.right - sliderUnits.left);
    EXPECT_EQ(mute.left, muteUnits.left + shift);
    EXPECT_EQ(mute.top, muteUnits.top);
    EXPECT_LE(std::abs((slider.left + slider.right) - client.right), 2) << "the slider sits in the middle";
}

struct NoLastMinuteHost : ILastMinuteHost {
    void OnPostpone() override {}
    void OnCancelCountdown() override {}
    void OnActNow() override {}
};

// The texts the last-minute window writes at run time, in the fonts it
// gives them: the seconds three times as high as the dialog's font.
TEST(LastMinuteAtThisScale, TheLargeSecondsAndTheLongestTextsFit) {
    NoLastMinuteHost host;
    LastMinuteDialog window(host);
    window.Show(EndAction::Hibernate, 60, L"Thunder.exe 已退出");
    HWND hwnd = window.Hwnd();
    ASSERT_TRUE(hwnd);
    EXPECT_TRUE(CaptionShowsInFull(hwnd));
    auto fontOf = [&](int id) {
        LOGFONTW lf = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hwnd, id), WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf;
    };
    const LOGFONTW note = fontOf(IDC_LM_NOTE), seconds = fontOf(IDC_LM_SECONDS);
    EXPECT_NEAR(std::abs(note.lfHeight), MulDiv(9, static_cast<int>(ScreenDpi()), 72), 1);
    EXPECT_EQ(std::abs(seconds.lfHeight), 3 * std::abs(note.lfHeight));
    HDC dc = GetDC(hwnd);
    for (int id : {IDC_LM_SECONDS, IDC_LM_NOTE, IDC_LM_REASON, IDC_LM_POSTPONE, IDC_LM_CANCEL, IDC_LM_ACT_NOW}) {
        HWND item = GetDlgItem(hwnd, id);
        const std::wstring text = TextOf(item);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)));
        SIZE extent = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        RECT client = {};
        GetClientRect(item, &client);
        const int frame = id >= IDC_LM_POSTPONE ? 4 : 0;  // push buttons draw a frame
        EXPECT_LE(extent.cx, client.right - frame) << testing::PrintToString(text);
        EXPECT_LE(extent.cy, client.bottom) << testing::PrintToString(text);
    }
    ReleaseDC(hwnd, dc);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, DialogLayoutTest, ::testing::ValuesIn(kTemplates),
                         [](const testing::TestParamInfo<Template>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (*c != ' ') name += *c;
                             return name;
                         });

}  // namespace
}  // namespace vt::test
