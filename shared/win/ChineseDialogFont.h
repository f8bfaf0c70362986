#pragma once
// The reminder windows' templates ask for the "System" font, which shows
// Chinese only where the system font itself is a Chinese one (Windows set
// to code page 936). Elsewhere (another system language, Wine) every
// Chinese character would come out as a box; there the dialog's controls get
// a Chinese font of the same height instead.
#include <windows.h>

#include "shared/win/Handles.h"

namespace vt {

class ChineseDialogFont {
public:
    ChineseDialogFont() = default;
    ChineseDialogFont(const ChineseDialogFont&) = delete;
    ChineseDialogFont& operator=(const ChineseDialogFont&) = delete;

    // At dialog initialisation; leaves a font that can show Chinese alone.
    void Apply(HWND dialog);
    // Whether the font shows simplified Chinese characters.
    static bool ShowsChinese(HFONT font);

private:
    win::FontHandle m_font;
};

}  // namespace vt
