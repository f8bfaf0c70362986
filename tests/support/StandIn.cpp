#include "tests/support/StandIn.h"

#include <windows.h>

#include <cwchar>

namespace vt::test {

const wchar_t kStandInArgument[] = L"--vt-stand-in-running-program";

namespace {

const bool g_bStandIn = [] {
    if (wcsstr(GetCommandLineW(), kStandInArgument)) {
        Sleep(60000);
        ExitProcess(3);
    }
    return false;
}();

}  // namespace
}  // namespace vt::test
