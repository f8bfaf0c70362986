#pragma once
#include <string>

namespace vt::win {

// Directory of the running executable, with its trailing backslash; data
// files of both programs are named by appending to it.
std::wstring AppDirectory();
// Full path of the running executable.
std::wstring ModulePath();

}  // namespace vt::win

namespace vt::win {
// File name of the running executable without its extension: the caption of
// the input-validation messages.
std::wstring ProgramName();
}  // namespace vt::win
