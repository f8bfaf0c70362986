#include "assistant/app/CommandRequest.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

CountdownRequest RequestOf(std::vector<std::string> args) {
    const CommandParse parse = ParseCommandLine(args);
    EXPECT_TRUE(parse.ok) << parse.error;
    return CountdownRequestFor(parse.command).value_or(CountdownRequest{});
}

TEST(CommandRequest, EachWayBecomesTheFormsRequestWithItsAction) {
    CountdownRequest in = RequestOf({"/in", "90", "/action", "hibernate"});
    EXPECT_EQ(in.way, CountdownWay::Minutes);
    EXPECT_EQ(in.minutes, 90u);
    EXPECT_EQ(in.action, EndAction::Hibernate);
    CountdownRequest at = RequestOf({"/at", "23:30"});
    EXPECT_EQ(at.way, CountdownWay::Clock);
    EXPECT_EQ(at.clockMinute, 23u * 60 + 30);
    EXPECT_FALSE(at.action) << "the form's choice";

    CountdownRequest exit = RequestOf({"/when-exit", "Thunder"});
    EXPECT_EQ(exit.way, CountdownWay::Condition);
    EXPECT_EQ(exit.condition.kind, JobConditionKind::ProgramExit);
    EXPECT_EQ(exit.condition.program, "Thunder");
    const std::pair<const char*, JobConditionKind> idle[] = {{"/when-idle", JobConditionKind::UserIdle},
                                                             {"/when-net-idle", JobConditionKind::NetworkIdle},
                                                             {"/when-cpu-idle", JobConditionKind::CpuIdle}};
    for (const auto& [flag, kind] : idle) {
        CountdownRequest request = RequestOf({flag, "12"});
        EXPECT_EQ(request.condition.kind, kind) << flag;
        EXPECT_EQ(request.condition.minutes, 12u) << flag;
        EXPECT_TRUE(IsValid(request.condition)) << flag;
    }

    EXPECT_TRUE(RequestOf({"/cancel"}).cancel);
    EXPECT_FALSE(CountdownRequestFor(ParseCommandLine({}).command));
    EXPECT_FALSE(CountdownRequestFor(ParseCommandLine({"/?"}).command));
}

}  // namespace
}  // namespace vt
