#pragma once
// An edit control whose double click selects its whole text, for fields that
// are usually replaced as a whole (a title, a file path) rather than edited
// word by word.
#include "shared/win/Control.h"

namespace vt {

class SelectAllEdit : public win::Control {
protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace vt
