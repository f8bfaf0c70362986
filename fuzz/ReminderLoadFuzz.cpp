// libFuzzer target: arbitrary bytes as the reminder file.
#include <cstdio>
#include <cstdlib>

#include "fuzz/ReminderLoadCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string fault = vt::fuzz::CheckReminderLoad(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "reminder load: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
