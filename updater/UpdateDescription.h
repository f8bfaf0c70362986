#pragma once
// Reading component sections of the update descriptions.
#include <string>

#include "shared/core/Gbk.h"
#include "shared/core/Profile.h"

namespace vt {

constexpr char kMainSection[] = "Main";

// Indexes are bounded so that a wild `Total` cannot keep the wizard busy for
// hours: at most kMaxComponents sections are visited, and the scan ends
// after kMaxMissingRun indexes in a row whose section is missing.
constexpr int kMaxComponents = 1024;
constexpr int kMaxMissingRun = 64;

std::string ComponentSection(int index);  // "File<index>"

// The section has any key this program reads (a profile cannot tell an empty
// value from a missing key, so an all-empty section counts as missing).
bool HasComponentSection(const IProfile& description, int index);

// How many indexes, from 0, to visit for `Total` = total. Equals total
// whenever the sections are where `Total` says (gaps shorter than
// kMaxMissingRun included); stops after the last present section otherwise.
int ComponentScanCount(const IProfile& description, int total);

// A text of a description (a title, a file or program name, a page): code
// page 936, empty when missing. Versions, addresses and digests stay bytes;
// the rules that read them look at ASCII only.
Gbk ReadDescriptionText(const IProfile& description, const std::string& section, const char* key);

struct ServerComponent {
    Gbk title;
    std::string version;  // "0.0" when missing
    std::string uri;
    Gbk filename;
    Gbk needclose;
    std::string sha256;  // empty: no digest given
};

ServerComponent ReadServerComponent(const IProfile& server, int index);
std::string ReadLocalVersion(const IProfile& local, int index);  // "0.0" when missing

}  // namespace vt
