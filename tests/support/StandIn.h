#pragma once
// A test program started with kStandInArgument stands for a running program
// (the assistant an update has to end, a program in the updater's way, a job
// the countdown waits for): it does nothing but wait to be ended, and after a
// minute exits by itself with code 3. The check runs as the program starts,
// before any test.
#include <windows.h>

#include <string>

namespace vt::test {

extern const wchar_t kStandInArgument[];
// With this one too it first makes a top-level window, as most programs do.
extern const wchar_t kStandInWindowArgument[];

// This test program started again as exe (a copy under another name), as a
// stand-in; ended when the object goes.
class StandInProcess {
public:
    enum class Shows { Nothing, AWindow };
    explicit StandInProcess(const std::wstring& exe, Shows shows = Shows::Nothing);
    ~StandInProcess() { End(); }
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    bool Started() const { return m_bStarted; }
    DWORD Id() const { return m_pi.dwProcessId; }
    // Its exit code once it ended within ms, STILL_ACTIVE otherwise.
    DWORD WaitExit(DWORD ms);
    // Ends it and lets go of it, so that nothing keeps the process listed.
    void End();

private:
    PROCESS_INFORMATION m_pi = {};
    bool m_bStarted = false;
};

}  // namespace vt::test
