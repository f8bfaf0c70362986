#include "assistant/app/CommandLine.h"

#include <string_view>

namespace vt {
namespace {

enum class SwitchKind { Way, Action, Cancel, Usage };

struct Switch {
    const char* name;  // without its "/" or "-"
    SwitchKind kind;
    CountdownWay way;
    JobConditionKind condition;  // the Condition way's
    const char* valueName;       // what must follow it, for the message
};

const Switch kSwitches[] = {
    {"in", SwitchKind::Way, CountdownWay::Minutes, {}, "分钟数"},
    {"at", SwitchKind::Way, CountdownWay::Clock, {}, "时刻（HH:MM）"},
    {"when-exit", SwitchKind::Way, CountdownWay::Condition, JobConditionKind::ProgramExit, "程序名"},
    {"when-idle", SwitchKind::Way, CountdownWay::Condition, JobConditionKind::UserIdle, "分钟数"},
    {"when-net-idle", SwitchKind::Way, CountdownWay::Condition, JobConditionKind::NetworkIdle, "分钟数"},
    {"when-cpu-idle", SwitchKind::Way, CountdownWay::Condition, JobConditionKind::CpuIdle, "分钟数"},
    {"action", SwitchKind::Action, {}, {}, "动作"},
    {"cancel", SwitchKind::Cancel, {}, {}, ""},
    {"?", SwitchKind::Usage, {}, {}, ""},
};

struct ActionName {
    const char* name;
    EndAction action;
};
const ActionName kActionNames[] = {{"shutdown", EndAction::ShutDown},
                                   {"restart", EndAction::Restart},
                                   {"logoff", EndAction::LogOff},
                                   {"sleep", EndAction::Sleep},
                                   {"hibernate", EndAction::Hibernate}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

const Switch* FindSwitch(const std::string& arg) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return nullptr;
    const std::string_view name = std::string_view(arg).substr(1);
    for (const Switch& s : kSwitches)
        if (EqualsIgnoringCase(name, s.name)) return &s;
    return nullptr;
}

// An argument as the message shows it: a long one is cut, on a character.
std::string Shown(const std::string& arg) {
    constexpr std::size_t kShownBytes = 60;
    if (arg.size() <= kShownBytes) return arg;
    std::size_t end = kShownBytes;
    while (end > 0 && (static_cast<unsigned char>(arg[end]) & 0xC0) == 0x80) --end;
    return arg.substr(0, end) + "…";
}

std::optional<std::uint32_t> ReadMinutes(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const std::uint32_t value = static_cast<std::uint32_t>(std::stoul(text));
    if (value < kCommandMinMinutes || value > kCommandMaxMinutes) return std::nullopt;
    return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// H:MM or HH:MM, 00:00 to 23:59: the minutes after midnight.
std::optional<std::uint32_t> ReadClock(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon != 1 && colon != 2) return std::nullopt;
    if (text.size() != colon + 3) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != colon && !IsDigit(text[i])) return std::nullopt;
    const int hour = std::stoi(text.substr(0, colon));
    const int minute = std::stoi(text.substr(colon + 1));
    if (hour > 23 || minute > 59) return std::nullopt;
    return static_cast<std::uint32_t>(hour * 60 + minute);
}

// A file name: no folder, none of the characters Windows refuses in names,
// not only dots and blanks.
bool IsProgramName(const std::string& text) {
    if (text.empty() || text.size() > 260) return false;
    if (text.find_first_not_of(". ") == std::string::npos) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return true;
}

std::optional<EndAction> ReadAction(const std::string& text) {
    for (const ActionName& a : kActionNames)
        if (EqualsIgnoringCase(text, a.name)) return a.action;
    return std::nullopt;
}

CommandParse Refused(std::string error) {
    CommandParse out;
    out.error = std::move(error);
    return out;
}

std::string BadValue(const std::string& sw, const std::string& value, const char* rule) {
    return "参数“" + Shown(sw) + " " + Shown(value) + "”不对：" + rule;
}

constexpr char kMinutesRule[] = "分钟数应为 1 到 65535 之间的整数。";

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        unsigned min = 0, cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const unsigned char n = static_cast<unsigned char>(text[i + k]);
            if ((n & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (n & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

CommandParse ParseCommandLine(const std::vector<std::string>& args) {
    CommandParse out;
    LaunchCommand& cmd = out.command;
    if (args.empty()) {
        out.ok = true;
        return out;
    }
    // Asking for help wins over anything else on the line.
    for (const std::string& arg : args) {
        const Switch* s = FindSwitch(arg);
        if (s && s->kind == SwitchKind::Usage) {
            cmd.kind = LaunchCommand::Kind::Usage;
            out.ok = true;
            return out;
        }
    }
    CountdownRequest request;
    std::string waySwitch, actionSwitch, cancelSwitch;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const Switch* s = FindSwitch(arg);
        if (!s) return Refused("不认识的参数“" + Shown(arg) + "”。");
        if (s->kind == SwitchKind::Cancel) {
            if (!cancelSwitch.empty()) return Refused("参数“" + Shown(arg) + "”只能给一次。");
            cancelSwitch = arg;
            continue;
        }
        if (i + 1 >= args.size()) return Refused("参数“" + Shown(arg) + "”后面缺少" + s->valueName + "。");
        const std::string& value = args[++i];
        if (s->kind == SwitchKind::Action) {
            if (!actionSwitch.empty()) return Refused("参数“" + Shown(arg) + "”只能给一次。");
            actionSwitch = arg;
            request.action = ReadAction(value);
            if (!request.action)
                return Refused(BadValue(arg, value, "动作应为 shutdown、restart、logoff、sleep 或 hibernate。"));
            continue;
        }
        if (!waySwitch.empty())
            return Refused("参数“" + Shown(waySwitch) + "”和“" + Shown(arg) + "”不能同时使用：一次只能设一种方式。");
        waySwitch = arg;
        request.way = s->way;
        switch (s->way) {
        case CountdownWay::Minutes:
            if (auto minutes = ReadMinutes(value))
                request.minutes = *minutes;
            else
                return Refused(BadValue(arg, value, kMinutesRule));
            break;
        case CountdownWay::Clock:
            if (auto minute = ReadClock(value))
                request.clockMinute = *minute;
            else
                return Refused(BadValue(arg, value, "时刻应写成 HH:MM，在 00:00 到 23:59 之间。"));
            break;
        case CountdownWay::Condition:
            request.condition.kind = s->condition;
            if (s->condition == JobConditionKind::ProgramExit) {
                if (!IsProgramName(value))
                    return Refused(BadValue(arg, value, "程序名应是一个文件名，如 Thunder.exe。"));
                request.condition.program = value;
                request.condition.minutes = DefaultJobMinutes(s->condition);
            } else if (auto minutes = ReadMinutes(value)) {
                request.condition.minutes = *minutes;
            } else {
                return Refused(BadValue(arg, value, kMinutesRule));
            }
            break;
        }
    }
    if (!cancelSwitch.empty()) {
        const std::string& other = !waySwitch.empty() ? waySwitch : actionSwitch;
        if (!other.empty()) return Refused("参数“" + Shown(cancelSwitch) + "”和“" + Shown(other) + "”不能同时使用。");
        cmd.kind = LaunchCommand::Kind::Cancel;
        cmd.request = CountdownRequest{};
        cmd.request->cancel = true;
        out.ok = true;
        return out;
    }
    if (waySwitch.empty()) return Refused("参数“" + Shown(actionSwitch) + "”要与 /in、/at 或 /when-… 之一同时使用。");
    cmd.kind = LaunchCommand::Kind::Start;
    cmd.request = request;
    out.ok = true;
    return out;
}

const std::string& CommandUsage() {
    static const std::string usage =
        "用法：Vantrel.exe 方式 [/action 动作]\n"
        "      Vantrel.exe /cancel\n"
        "      Vantrel.exe /?\n"
        "\n"
        "方式（只选一种；设好后立即开始计时）：\n"
        "/in 分钟数 — 过这么多分钟（1～65535）后执行\n"
        "/at HH:MM — 到这个时刻执行\n"
        "/when-exit 程序名 — 这个程序退出后执行（如 Thunder.exe，.exe 可省略）\n"
        "/when-idle 分钟数 — 无人使用电脑这么多分钟后执行\n"
        "/when-net-idle 分钟数 — 网络空闲这么多分钟后执行\n"
        "/when-cpu-idle 分钟数 — CPU 空闲这么多分钟后执行\n"
        "\n"
        "/action 动作 — 到时执行什么：shutdown（关机）、restart（重启）、logoff（注销）、"
        "sleep（睡眠）或 hibernate（休眠）；不写时按倒计时窗口中选的动作\n"
        "/cancel — 停止正在进行的倒计时或等待\n"
        "/? — 显示本说明\n"
        "\n"
        "例如：\n"
        "Vantrel.exe /in 30\n"
        "Vantrel.exe /at 23:30 /action hibernate\n"
        "Vantrel.exe /when-exit Thunder.exe /action shutdown\n"
        "Vantrel.exe /cancel";
    return usage;
}

std::string CommandErrorText(const CommandParse& parse) { return parse.error + "\n\n" + CommandUsage(); }

std::string EncodeCommandPayload(const std::vector<std::string>& args) {
    std::string payload;
    for (const std::string& arg : args) {
        payload += arg;
        payload += '\0';
    }
    return payload;
}

std::optional<LaunchCommand> DecodeCommandPayload(std::uint64_t tag, const void* data, std::size_t size) {
    if (tag != kCommandCopyDataTag || !data || size == 0 || size > kCommandPayloadLimit) return std::nullopt;
    const std::string_view payload(static_cast<const char*>(data), size);
    if (payload.back() != '\0' || !IsUtf8(payload)) return std::nullopt;
    std::vector<std::string> args;
    std::size_t start = 0;
    while (start < payload.size()) {
        const std::size_t end = payload.find('\0', start);
        if (args.size() == kCommandArgumentLimit) return std::nullopt;
        args.emplace_back(payload.substr(start, end - start));
        start = end + 1;
    }
    CommandParse parse = ParseCommandLine(args);
    if (!parse.ok) return std::nullopt;
    if (parse.command.kind != LaunchCommand::Kind::Start && parse.command.kind != LaunchCommand::Kind::Cancel)
        return std::nullopt;
    return parse.command;
}

}  // namespace vt
