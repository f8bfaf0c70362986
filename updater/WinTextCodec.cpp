#include "updater/WinTextCodec.h"

#include "shared/win/Encoding.h"

namespace vt::win {

std::string WinTextCodec::GbkToUtf8(const Gbk& text) const { return ToUtf8(FromGbk(text)); }

}  // namespace vt::win
