// The file-name rule reads code page 936 bytes; the updater then turns the
// name into UTF-16 through the platform's code page 936 conversion. Every
// one-character tail the rule lets through must still be harmless once
// converted: no device name (the superscript digits included), no separator
// or character Windows refuses.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shared/win/Encoding.h"
#include "updater/FileNameRule.h"

namespace vt::win {
namespace {

bool Forbidden(wchar_t c) { return c < 0x20 || c == 0x7F || wcschr(L"\\/:*?\"<>|", c) != nullptr; }

TEST(FileNameCodePage, NoAcceptedCharacterConvertsIntoADeviceDigitOrSeparator) {
    const std::wstring deviceDigits = L"0123456789\u00B9\u00B2\u00B3";
    int accepted = 0;
    for (const char* device : {"COM", "LPT"}) {
        for (int first = 0x01; first <= 0xFF; ++first) {
            const bool lead = IsGbkLeadByte(static_cast<unsigned char>(first));
            for (int second = lead ? 0x00 : -1; second <= (lead ? 0xFF : -1); ++second) {
                std::string name = device;
                name += static_cast<char>(first);
                if (second >= 0) name += static_cast<char>(second);
                for (const std::string& candidate : {name, name + ".txt"}) {
                    if (!IsPlainFileName(Gbk(candidate))) continue;
                    ++accepted;
                    const std::wstring wide = FromGbk(Gbk(candidate));
                    ASSERT_GE(wide.size(), 4u) << candidate;
                    EXPECT_EQ(deviceDigits.find(wide[3]), std::wstring::npos) << candidate;
                    for (wchar_t c : wide) EXPECT_FALSE(Forbidden(c)) << candidate << " " << int(c);
                }
            }
        }
    }
    // Every ordinary byte and every whole double-byte character once per
    // device and form: the check above saw the whole code page.
    EXPECT_GT(accepted, 2 * 2 * 23000);
    // The superscript digits themselves have no bytes in this code page.
    for (const wchar_t* digit : {L"\u00B9", L"\u00B2", L"\u00B3"}) {
        BOOL usedDefault = FALSE;
        char out[8] = {};
        const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, digit, 1, out, sizeof out, nullptr, &usedDefault);
        EXPECT_TRUE(n <= 0 || usedDefault) << int(digit[0]) << " -> " << std::string(out, n > 0 ? n : 0);
    }
}

}  // namespace
}  // namespace vt::win
