#include "shared/win/Encoding.h"

#include <windows.h>

namespace vt::win {
namespace {

constexpr UINT kGbk = 936;

std::wstring Decode(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

std::string Encode(UINT codePage, const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring FromUtf8(const std::string& utf8) { return Decode(CP_UTF8, utf8); }
std::string ToUtf8(const std::wstring& text) { return Encode(CP_UTF8, text); }
std::wstring FromGbk(const Gbk& text) { return Decode(kGbk, text.Bytes()); }
Gbk ToGbk(const std::wstring& text) { return Gbk(Encode(kGbk, text)); }

}  // namespace vt::win
