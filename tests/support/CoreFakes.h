#pragma once
// Stand-ins for the core's interfaces, usable on both platforms: a clock
// that tells whatever time the test set, a shell that notes what it was
// asked to open instead of opening it, a registry in memory, power calls and
// hotkey registrations that are only noted. One of each, for every test.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "assistant/calendar/Calendar.h"
#include "assistant/mainwnd/PowerActions.h"
#include "assistant/settings/HotkeyBinding.h"
#include "shared/core/Clock.h"
#include "shared/core/Registry.h"
#include "shared/core/Shell.h"

namespace vt::test {

class FakeClock : public IClock {
public:
    LocalTime Now() const override { return now; }

    // The weekday follows the date, so a test cannot set a Monday that
    // falls on a Sunday (needs the calendar's WeekdayOf at link time).
    void Set(int year, int month, int day, int hour, int minute, int second = 0) {
        now.year = year;
        now.month = month;
        now.day = day;
        now.weekday = WeekdayOf(year, month, day);
        now.hour = hour;
        now.minute = minute;
        now.second = second;
    }

    LocalTime now;
};

// The clock's reading at a moment, with its weekday.
inline LocalTime At(int year, int month, int day, int hour, int minute, int second = 0) {
    FakeClock clock;
    clock.Set(year, month, day, hour, minute, second);
    return clock.now;
}

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

// The registry in memory. A DWORD is kept apart from a string (ReadDword
// reads only a DWORD). Given a log, every write and delete is noted there as
// "write HKCU\<key>\<name> = <value>" or "delete HKLM\<key>\<name>".
// machineRefused: a user without administrator rights, who cannot change the
// machine-wide hives (reading them still works).
class FakeRegistry : public IRegistry {
public:
    struct Value {
        bool isDword = false;
        std::uint32_t dword = 0;
        std::string text;
    };
    using Where = std::tuple<RegistryHive, std::string, std::string>;

    FakeRegistry() = default;
    explicit FakeRegistry(std::vector<std::string>& log) : m_log(&log) {}

    bool HasValue(RegistryHive hive, const std::string& key, const std::string& name) override {
        return values.count({hive, key, name}) != 0;
    }
    bool ReadDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t& value) override {
        auto it = values.find({hive, key, name});
        if (it == values.end() || !it->second.isDword) return false;
        value = it->second.dword;
        return true;
    }
    bool ReadString(RegistryHive hive, const std::string& key, const std::string& name, std::string& value) override {
        auto it = values.find({hive, key, name});
        if (it == values.end() || it->second.isDword) return false;
        value = it->second.text;
        return true;
    }
    bool WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                     const std::string& value) override {
        if (Refused(hive)) return false;
        Note("write " + Path(hive, key, name) + " = " + value);
        PutString(hive, key, name, value);
        return true;
    }
    bool WriteDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t value) override {
        if (Refused(hive)) return false;
        Note("write " + Path(hive, key, name) + " = " + std::to_string(value));
        PutDword(hive, key, name, value);
        return true;
    }
    bool DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) override {
        if (Refused(hive)) return false;
        Note("delete " + Path(hive, key, name));
        values.erase({hive, key, name});
        return true;
    }

    // What a test puts in beforehand (never logged, never refused).
    void PutDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t value) {
        values[{hive, key, name}] = Value{true, value, ""};
    }
    void PutString(RegistryHive hive, const std::string& key, const std::string& name, const std::string& value) {
        values[{hive, key, name}] = Value{false, 0, value};
    }
    // A value as text (a DWORD in decimal); nothing when it is missing.
    std::optional<std::string> Text(RegistryHive hive, const std::string& key, const std::string& name) const {
        auto it = values.find({hive, key, name});
        if (it == values.end()) return std::nullopt;
        return it->second.isDword ? std::to_string(it->second.dword) : it->second.text;
    }

    std::map<Where, Value> values;
    bool machineRefused = false;

private:
    bool Refused(RegistryHive hive) const { return machineRefused && hive != RegistryHive::CurrentUser; }
    void Note(const std::string& entry) {
        if (m_log) m_log->push_back(entry);
    }
    static std::string Path(RegistryHive hive, const std::string& key, const std::string& name) {
        const char* root = hive == RegistryHive::LocalMachine     ? "HKLM"
                           : hive == RegistryHive::LocalMachine32 ? "HKLM32"
                                                                  : "HKCU";
        return std::string(root) + "\\" + key + "\\" + name;
    }

    std::vector<std::string>* m_log = nullptr;
};

// The power calls, noted in a log that other fakes may share, so the order
// across them shows. The requests to stay awake are kept apart: where they
// come in a sequence is of no concern.
class RecordingPower : public IPowerActions {
public:
    explicit RecordingPower(std::vector<std::string>& log) : log(log) {}

    void EnableShutdownPrivilege() override { log.push_back("privilege"); }
    void ExitSession(std::uint32_t flags) override { log.push_back("exit " + std::to_string(flags)); }
    void SetExecutionState(std::uint32_t flags) override { executionStates.push_back(flags); }
    void Suspend(bool hibernate) override { log.push_back(hibernate ? "hibernate" : "sleep"); }
    bool CanHibernate() override { return hibernateAllowed; }
    void Lock() override { log.push_back("lock"); }

    std::vector<std::string>& log;
    std::vector<std::uint32_t> executionStates;
    bool hibernateAllowed = true;
};

// Windows' side of the hotkeys: combinations other programs hold, and ours
// per row; a combination is had once, by one holder.
class FakeHotkeyRegistrar : public IHotkeyRegistrar {
public:
    bool Register(HotkeySlot slot, std::uint32_t modifiers, std::uint32_t key) override {
        const std::uint32_t combination = modifiers | key << 16;
        calls.push_back("register " + std::to_string(SlotIndex(slot)));
        if (heldElsewhere.count(combination) || ours.count(slot)) return false;
        for (auto& [other, held] : ours)
            if (held == combination) return false;
        ours[slot] = combination;
        return true;
    }
    void Unregister(HotkeySlot slot) override {
        calls.push_back("unregister " + std::to_string(SlotIndex(slot)));
        ours.erase(slot);
    }

    std::set<std::uint32_t> heldElsewhere;  // lParam form: modifiers | key << 16
    std::map<HotkeySlot, std::uint32_t> ours;
    std::vector<std::string> calls;
};

}  // namespace vt::test
