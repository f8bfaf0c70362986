#include "updater/WinTextCodec.h"

#include "shared/win/Encoding.h"

namespace vt::win {

std::string WinTextCodec::GbkToUtf8(const std::string& gbk) const { return ToUtf8(FromGbk(gbk)); }

}  // namespace vt::win
