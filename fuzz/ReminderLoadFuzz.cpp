// libFuzzer target: arbitrary reminder files, in memory (see
// ReminderFuzzInput.h for how an input becomes a file).
#include <cstdio>
#include <cstdlib>

#include "fuzz/ReminderFuzzInput.h"
#include "fuzz/ReminderLoadCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> file = vt::fuzz::ReminderFileOfInput(data, size);
    std::string fault = vt::fuzz::CheckReminderLoad(file.data(), file.size());
    if (!fault.empty()) {
        std::fprintf(stderr, "reminder load: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
