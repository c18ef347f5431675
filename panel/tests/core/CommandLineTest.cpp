#include <gtest/gtest.h>

#include "panel/app/CKVDeskCommandLine.h"

namespace {

using Action = CKVDeskCommandLine::eAction;

struct LineCase {
    std::vector<std::string> arguments;
    Action action;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << "arguments:";
    for (const std::string& argument : c.arguments) *out << ' ' << argument;
}

class CommandLineActionTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineActionTest, ChoosesTheStartUpAction) {
    EXPECT_EQ(CKVDeskCommandLine::Parse(GetParam().arguments).Action(), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, CommandLineActionTest,
    ::testing::Values(LineCase{{}, Action::Panel}, LineCase{{"/Regserver"}, Action::Register},
                      LineCase{{"-register"}, Action::Register}, LineCase{{"/UNREGSERVER"}, Action::Unregister},
                      LineCase{{"-Unregister"}, Action::Unregister}, LineCase{{"/Embedding"}, Action::Automation},
                      LineCase{{"-automation"}, Action::Automation},
                      // Window-less mode is checked before registration.
                      LineCase{{"/Regserver", "/Embedding"}, Action::Automation},
                      // The last registration flag wins.
                      LineCase{{"/Unregserver", "/Regserver"}, Action::Register},
                      LineCase{{"/Regserver", "-Unregserver"}, Action::Unregister},
                      // Without "/" or "-" a word is a file name, not a flag.
                      LineCase{{"Regserver"}, Action::Panel}, LineCase{{"/RegserverX"}, Action::Panel},
                      LineCase{{"/"}, Action::Panel}, LineCase{{"/Register", "notes.txt"}, Action::Register}));

}  // namespace
