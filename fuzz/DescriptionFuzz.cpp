// libFuzzer target: the description reader on arbitrary description bytes.
#include <algorithm>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "shared/core/IniProfile.h"
#include "shared/core/VersionRule.h"
#include "updater/UpdateDescription.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vt::MemoryProfile description(std::string(reinterpret_cast<const char*>(data), size));
    const int total = description.GetInt(vt::kMainSection, "Total", 0);
    const int count = vt::ComponentScanCount(description, total);
    const int limit = std::max(0, std::min(total, vt::kMaxComponents));

    // Never more than Total or the bound, never stopped before a present
    // section, and a stop only after a full run of missing ones.
    VT_FUZZ_CHECK(count >= 0 && count <= limit);
    if (count < limit) {
        VT_FUZZ_CHECK(count == 0 || vt::HasComponentSection(description, count - 1));
        for (int i = count; i < std::min(limit, count + vt::kMaxMissingRun); ++i)
            VT_FUZZ_CHECK(!vt::HasComponentSection(description, i));
    }
    VT_FUZZ_CHECK(vt::ComponentScanCount(description, std::min(total, count)) == std::max(0, std::min(total, count)));

    for (int i = 0; i < std::min(count, 80); ++i) {
        const vt::ServerComponent c = vt::ReadServerComponent(description, i);
        for (const vt::Gbk* field : {&c.title, &c.filename, &c.needclose}) VT_FUZZ_CHECK(field->size() <= 1023);
        for (const std::string* field : {&c.version, &c.uri, &c.sha256}) VT_FUZZ_CHECK(field->size() <= 1023);
        VT_FUZZ_CHECK(vt::ReadLocalVersion(description, i) == c.version);
        // A section that reads as missing has nothing to offer: its version
        // is the default, or empty when written without a value.
        if (!vt::HasComponentSection(description, i)) {
            VT_FUZZ_CHECK(c.title.empty() && c.uri.empty() && c.filename.empty() && c.needclose.empty() &&
                          c.sha256.empty() && (c.version == "0.0" || c.version.empty()));
            VT_FUZZ_CHECK(!vt::IsNewerVersion(c.version, "0"));
        }
        // A component is never newer than itself.
        VT_FUZZ_CHECK(!vt::IsNewerVersion(c.version, vt::ReadLocalVersion(description, i)));
    }
    VT_FUZZ_CHECK(vt::ComponentSection(count) == "File" + std::to_string(count));
    return 0;
}
