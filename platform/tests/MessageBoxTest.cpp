#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using namespace platform;

class MessageBoxTest : public kvtest::RootedTest {};

TEST_F(MessageBoxTest, DefaultAnswerIsTheFirstButton) {
    const struct {
        UINT type;
        int answer;
    } cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION, IDOK},
        {MB_ABORTRETRYIGNORE, IDABORT},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNO | MB_ICONINFORMATION, IDYES},
        {MB_RETRYCANCEL, IDRETRY},
    };
    for (const auto& c : cases) EXPECT_EQ(DefaultMessageBoxAnswer(c.type), c.answer) << c.type;
}

TEST_F(MessageBoxTest, RecorderSeesBoxesAndRestoresPreviousHandler) {
    {
        kvtest::MessageBoxRecorder outer(IDYES);
        {
            kvtest::MessageBoxRecorder inner(IDNO);
            EXPECT_EQ(MessageBox(nullptr, "text", "Kavelin", MB_YESNO), IDNO);
            ASSERT_EQ(inner.boxes().size(), 1u);
            EXPECT_EQ(inner.boxes()[0].text, "text");
            EXPECT_EQ(inner.boxes()[0].caption, "Kavelin");
            EXPECT_EQ(inner.boxes()[0].type, MB_YESNO);
        }
        EXPECT_EQ(MessageBox(nullptr, "again", "Kavelin", MB_YESNO), IDYES);
        EXPECT_EQ(outer.boxes().size(), 1u);
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(nullptr, "on stderr", "Kavelin", MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Kavelin: on stderr\n");
}

}  // namespace
