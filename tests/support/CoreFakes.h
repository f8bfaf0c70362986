#pragma once
// Stand-ins for the clock and the shell, usable on both platforms: a clock
// that tells whatever time the test set, and a shell that notes what it was
// asked to open instead of opening it.
#include <string>
#include <vector>

#include "shared/core/Clock.h"
#include "shared/core/Shell.h"

namespace vt::test {

class ManualClock : public IClock {
public:
    LocalTime Now() const override { return now; }
    LocalTime now;
};

class RecordingShell : public IShell {
public:
    struct Launch {
        std::string file, parameters, directory;
        ShowMode show;
    };

    bool Open(const std::string& file, const std::string& parameters, const std::string& directory,
              ShowMode show) override {
        launches.push_back({file, parameters, directory, show});
        opened.push_back(file);
        return result;
    }

    std::vector<Launch> launches;
    std::vector<std::string> opened;  // the files alone: all most tests look at
    bool result = true;               // what Open reports
};

}  // namespace vt::test
