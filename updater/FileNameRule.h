#pragma once
// Names from the server description that become paths on this machine
// (`filename`, `MainExe`) must stay inside their directory and must name an
// ordinary file. The name is code page 936 bytes: a double-byte character's
// trail byte may be 0x5C or 0x7C and is then part of the character, not a
// backslash or a bar.
#include "shared/core/Gbk.h"

namespace vt {

// False for: empty, ".", "..", a path separator or drive colon ('\\', '/',
// ':'), a character Windows does not allow in names (< > " | ? *), control
// characters, a trailing dot or blank, a cut double-byte character, and the
// reserved device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$,
// CONOUT$), with or without an extension, in any letter case. The device
// names with a superscript digit (COM¹, LPT³ ...) cannot be written in code
// page 936: their GB18030 four-byte spelling is a cut character here.
bool IsPlainFileName(const Gbk& name);

}  // namespace vt
