#include "assistant/app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {
namespace {

using Args = std::vector<std::string>;
using Kind = LaunchCommand::Kind;

LaunchCommand Parsed(const Args& args) {
    CommandParse parse = ParseCommandLine(args);
    EXPECT_TRUE(parse.ok) << parse.error;
    return parse.command;
}

// What the countdown form is asked to carry out.
CountdownRequest RequestOf(const Args& args) { return Parsed(args).request.value_or(CountdownRequest{}); }

// The message for a refused line; it must name the argument.
std::string Refusal(const Args& args) {
    CommandParse parse = ParseCommandLine(args);
    EXPECT_FALSE(parse.ok);
    return parse.error;
}

std::optional<LaunchCommand> Decode(const std::string& payload, std::uint64_t tag = kCommandCopyDataTag) {
    return DecodeCommandPayload(tag, payload.data(), payload.size());
}

}  // namespace

TEST(CommandLine, NoArgumentsIsAnOrdinaryStart) {
    CommandParse parse = ParseCommandLine({});
    EXPECT_TRUE(parse.ok);
    EXPECT_EQ(parse.command.kind, Kind::None);
}

TEST(CommandLine, EachWayBecomesTheFormsRequestWithItsValueAndStarts) {
    LaunchCommand in = Parsed({"/in", "30"});
    EXPECT_EQ(in.kind, Kind::Start);
    ASSERT_TRUE(in.request);
    EXPECT_FALSE(in.request->cancel);
    EXPECT_EQ(in.request->way, CountdownWay::Minutes);
    EXPECT_EQ(in.request->minutes, 30u);
    EXPECT_FALSE(in.request->action) << "without /action the form's choice stays";
    CountdownRequest hibernate = RequestOf({"/in", "90", "/action", "hibernate"});
    EXPECT_EQ(hibernate.minutes, 90u);
    EXPECT_EQ(hibernate.action, EndAction::Hibernate);

    CountdownRequest at = RequestOf({"/at", "7:05"});
    EXPECT_EQ(at.way, CountdownWay::Clock);
    EXPECT_EQ(at.clockMinute, 7u * 60 + 5);
    EXPECT_EQ(RequestOf({"/at", "23:30"}).clockMinute, 23u * 60 + 30);
    EXPECT_EQ(RequestOf({"/at", "23:59"}).clockMinute, 23u * 60 + 59);
    EXPECT_EQ(RequestOf({"/at", "00:00"}).clockMinute, 0u);
    EXPECT_FALSE(at.action) << "the form's choice";

    CountdownRequest exit = RequestOf({"/when-exit", "Thunder"});
    EXPECT_EQ(exit.way, CountdownWay::Condition);
    EXPECT_EQ(exit.condition.kind, JobConditionKind::ProgramExit);
    EXPECT_EQ(exit.condition.program, "Thunder");
    // The form keeps the condition in the settings, minutes and all.
    EXPECT_EQ(exit.condition.minutes, DefaultJobMinutes(JobConditionKind::ProgramExit));
    EXPECT_EQ(RequestOf({"/when-exit", "迅雷 下载.exe"}).condition.program, "迅雷 下载.exe");

    const std::pair<const char*, JobConditionKind> idle[] = {{"/when-idle", JobConditionKind::UserIdle},
                                                             {"/when-net-idle", JobConditionKind::NetworkIdle},
                                                             {"/when-cpu-idle", JobConditionKind::CpuIdle}};
    for (const auto& [flag, kind] : idle) {
        CountdownRequest request = RequestOf({flag, "12"});
        EXPECT_EQ(request.way, CountdownWay::Condition) << flag;
        EXPECT_EQ(request.condition.kind, kind) << flag;
        EXPECT_EQ(request.condition.minutes, 12u) << flag;
        EXPECT_TRUE(IsValid(request.condition)) << flag;
        EXPECT_EQ(RequestOf({flag, "65535"}).condition.minutes, 65535u) << flag;
    }
}

TEST(CommandLine, ActionGoesWithAnyWayInEitherOrderAndSwitchesIgnoreCase) {
    const std::pair<const char*, EndAction> names[] = {{"shutdown", EndAction::ShutDown},
                                                       {"RESTART", EndAction::Restart},
                                                       {"logoff", EndAction::LogOff},
                                                       {"Sleep", EndAction::Sleep},
                                                       {"hibernate", EndAction::Hibernate}};
    for (const auto& [name, action] : names) EXPECT_EQ(RequestOf({"/in", "5", "/action", name}).action, action) << name;
    CountdownRequest first = RequestOf({"-ACTION", "sleep", "/When-Idle", "10"});
    EXPECT_EQ(first.way, CountdownWay::Condition);
    EXPECT_EQ(first.condition.kind, JobConditionKind::UserIdle);
    EXPECT_EQ(first.action, EndAction::Sleep);
}

TEST(CommandLine, CancelAndUsage) {
    LaunchCommand cancel = Parsed({"/cancel"});
    EXPECT_EQ(cancel.kind, Kind::Cancel);
    ASSERT_TRUE(cancel.request);
    EXPECT_TRUE(cancel.request->cancel);
    EXPECT_EQ(Parsed({"/?"}).kind, Kind::Usage);
    EXPECT_FALSE(Parsed({"/?"}).request) << "the form has no part in the usage";
    EXPECT_FALSE(Parsed({}).request) << "nor in an ordinary start";
    EXPECT_EQ(Parsed({"/in", "0", "/?"}).kind, Kind::Usage) << "asking for help wins";
    const std::string& usage = CommandUsage();
    for (const char* sw : {"/in", "/at", "/when-exit", "/when-idle", "/when-net-idle", "/when-cpu-idle", "/action",
                           "/cancel", "/?", "hibernate", "例如"})
        EXPECT_NE(usage.find(sw), std::string::npos) << sw;
}

TEST(CommandLine, BadValuesAreRefusedNamingTheArgument) {
    for (const Args& args : {Args{"/in", "0"}, Args{"/in", "65536"}, Args{"/in", "-5"}, Args{"/in", "+5"},
                             Args{"/in", "5x"}, Args{"/in", "99999999999999999999"}, Args{"/in", ""},
                             Args{"/when-idle", "0"}, Args{"/when-cpu-idle", "1.5"}}) {
        const std::string error = Refusal(args);
        EXPECT_NE(error.find(args[0] + " " + args[1]), std::string::npos) << error;
        EXPECT_NE(error.find("1 到 65535"), std::string::npos) << error;
    }
    for (const char* clock : {"25:00", "24:00", "12:60", "1230", "12:5", ":30", "123:00", "12:30:00", "ab:cd", "-1:30"})
        EXPECT_NE(Refusal({"/at", clock}).find(std::string("/at ") + clock), std::string::npos) << clock;
    for (const char* name : {"", "C:\\Tools\\x.exe", "a/b.exe", "x?.exe", "..", " "})
        EXPECT_NE(Refusal({"/when-exit", name}).find("程序名"), std::string::npos) << name;
    EXPECT_NE(Refusal({"/in", "5", "/action", "poweroff"}).find("/action poweroff"), std::string::npos);
}

TEST(CommandLine, WrongShapesAreRefusedNamingTheArgument) {
    EXPECT_NE(Refusal({"/soon"}).find("“/soon”"), std::string::npos);
    EXPECT_NE(Refusal({"30"}).find("“30”"), std::string::npos) << "a value without its switch";
    EXPECT_NE(Refusal({"/"}).find("“/”"), std::string::npos);
    EXPECT_NE(Refusal({"/in"}).find("“/in”后面缺少分钟数"), std::string::npos);
    EXPECT_NE(Refusal({"/in", "5", "/action"}).find("“/action”后面缺少动作"), std::string::npos);
    EXPECT_NE(Refusal({"/in", "5", "/at", "12:00"}).find("“/in”和“/at”不能同时使用"), std::string::npos);
    EXPECT_NE(Refusal({"/in", "5", "/in", "6"}).find("“/in”和“/in”"), std::string::npos);
    EXPECT_NE(Refusal({"/in", "5", "/action", "sleep", "/action", "sleep"}).find("只能给一次"), std::string::npos);
    EXPECT_NE(Refusal({"/action", "sleep"}).find("“/action”要与"), std::string::npos);
    EXPECT_NE(Refusal({"/cancel", "/in", "5"}).find("“/cancel”和“/in”"), std::string::npos);
    EXPECT_NE(Refusal({"/cancel", "/cancel"}).find("只能给一次"), std::string::npos);
    // A long argument is shown cut, on a whole character.
    std::string longArg = "/" + std::string(40, 'x');
    for (int i = 0; i < 10; ++i) longArg += "中";
    const std::string error = Refusal({longArg});
    EXPECT_NE(error.find(longArg.substr(0, 59) + "…"), std::string::npos) << error;
    // The message box shows the reason, then the usage.
    CommandParse parse = ParseCommandLine({"/in", "0"});
    EXPECT_EQ(CommandErrorText(parse), parse.error + "\n\n" + CommandUsage());
}

TEST(CommandPayload, RoundTripsTheCommandsTheRunningCopyCarriesOut) {
    const Args start = {"/when-exit", "迅雷.exe", "/action", "hibernate"};
    std::optional<LaunchCommand> got = Decode(EncodeCommandPayload(start));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->kind, Kind::Start);
    ASSERT_TRUE(got->request);
    EXPECT_EQ(got->request->condition.program, "迅雷.exe");
    EXPECT_EQ(got->request->action, EndAction::Hibernate);
    ASSERT_TRUE(Decode(EncodeCommandPayload({"/cancel"})));
    EXPECT_EQ(Decode(EncodeCommandPayload({"/cancel"}))->kind, Kind::Cancel);
    EXPECT_TRUE(Decode(EncodeCommandPayload({"/cancel"}))->request->cancel);
    EXPECT_EQ(EncodeCommandPayload({"/in", "5"}), std::string("/in\0"
                                                              "5\0",
                                                              6));
}

TEST(CommandPayload, RefusesWhatIsNotACommandToCarryOut) {
    const std::string good = EncodeCommandPayload({"/in", "5"});
    EXPECT_FALSE(Decode(good, kCommandCopyDataTag + 1)) << "another sender's tag";
    EXPECT_FALSE(DecodeCommandPayload(kCommandCopyDataTag, nullptr, 6));
    EXPECT_FALSE(Decode(""));
    EXPECT_FALSE(Decode(good.substr(0, good.size() - 1))) << "not ended";
    EXPECT_FALSE(Decode(EncodeCommandPayload({"/in", "0"}))) << "the parser's refusals";
    EXPECT_FALSE(Decode(EncodeCommandPayload({"/?"}))) << "the usage is the sender's to show";
    EXPECT_FALSE(Decode(std::string(1, '\0'))) << "an empty argument";
    EXPECT_FALSE(Decode(std::string("/when-exit\0\xC0\xAF.exe\0", 18))) << "an overlong UTF-8 form";
    EXPECT_FALSE(Decode(std::string("/when-exit\0\xED\xA0\x80.exe\0", 19))) << "a surrogate";
    EXPECT_FALSE(Decode(std::string("/when-exit\0\xE4\xB8.exe\0", 17))) << "a cut character";
    Args many(kCommandArgumentLimit + 1, "/cancel");
    EXPECT_FALSE(Decode(EncodeCommandPayload(many)));
    EXPECT_FALSE(Decode(EncodeCommandPayload({"/when-exit", std::string(kCommandPayloadLimit, 'a')})));
}

}  // namespace vt
