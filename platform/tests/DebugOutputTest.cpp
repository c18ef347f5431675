#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "support/TempRoot.h"

namespace {

class DebugOutputTest : public kvtest::RootedTest {
protected:
    ~DebugOutputTest() override { platform::SetDebugOutput(false); }
};

TEST_F(DebugOutputTest, WritesToStandardErrorOnlyWhileSwitchedOn) {
    for (const bool on : {false, true}) {
        platform::SetDebugOutput(on);
        EXPECT_EQ(platform::DebugOutputEnabled(), on);
        testing::internal::CaptureStderr();
        platform::OutputDebugString("\r\nline\r\n");
        platform::OutputDebugString(nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), on ? "\r\nline\r\n" : "") << on;
    }
}

}  // namespace
