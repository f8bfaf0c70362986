#pragma once
// A window narrow enough that its caption text would be cut (a small popup
// with a caption of four Chinese characters, at a scale where the caption
// font grows faster than the dialog font) is widened so the caption shows in
// full beside its buttons; its controls move with the middle, so the layout
// in dialog units stays as it was, only centred in the wider window.
#include <windows.h>

#include <string>

namespace vt::win {

// The outer width the window needs at its DPI for its caption text, in the
// caption font of its kind (tool window or not), its caption buttons, its
// icon and its frame.
int CaptionFitWidth(HWND window);

// Widens the window to CaptionFitWidth when it is narrower and moves every
// child right by half the difference. Returns how many pixels it grew.
int FitCaption(HWND window);

}  // namespace vt::win
