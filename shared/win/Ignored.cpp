#include "shared/win/Ignored.h"

#include <cwchar>

namespace vt::win {

void NoteIgnored(const wchar_t* call, unsigned long error) {
    wchar_t line[160];
    std::swprintf(line, sizeof line / sizeof line[0], L"ignored: %ls failed, error %lu (0x%08lX)\n", call, error,
                  error);
    OutputDebugStringW(line);
}

}  // namespace vt::win
