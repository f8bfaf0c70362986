#include "shared/win/ChineseDialogFont.h"

namespace vt {
namespace {

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

}  // namespace

bool ChineseDialogFont::ShowsChinese(HFONT font) {
    const win::WindowDc screen(nullptr);
    const win::Selection selected(screen.Get(), font ? font : GetStockObject(SYSTEM_FONT));
    FONTSIGNATURE signature = {};
    const int charset = GetTextCharsetInfo(screen.Get(), &signature, 0);
    return charset == GB2312_CHARSET || (signature.fsCsb[0] & FS_CHINESESIMP) != 0;
}

void ChineseDialogFont::Apply(HWND dialog) {
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (ShowsChinese(current)) return;
    LOGFONTW lf = {};
    if (!current || !GetObjectW(current, sizeof lf, &lf)) return;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpynW(lf.lfFaceName, L"宋体", LF_FACESIZE);
    HFONT chinese = CreateFontIndirectW(&lf);
    if (!chinese) return;
    m_font.Reset(chinese);
    EnumChildWindows(dialog, SetChildFont, reinterpret_cast<LPARAM>(m_font.Get()));
}

}  // namespace vt
