#pragma once
// The one conversion the update wizard leaves to the platform: texts of the
// update descriptions (code page 936) into the UTF-8 of the core.
#include "updater/UpdateView.h"

namespace vt::win {

class WinTextCodec : public ITextCodec {
public:
    std::string GbkToUtf8(const Gbk& text) const override;
};

}  // namespace vt::win
