#pragma once
// The one place where text changes encoding. Windows UI is UTF-16; the
// portable core speaks UTF-8; stored files keep code page 936 (GBK) bytes.
#include <string>

#include "shared/core/Gbk.h"

namespace vt::win {

std::wstring FromUtf8(const std::string& utf8);
std::string ToUtf8(const std::wstring& text);
std::wstring FromGbk(const Gbk& text);
Gbk ToGbk(const std::wstring& text);

}  // namespace vt::win
