#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/FileDialog.h"
#include "platform/InstanceLock.h"
#include "platform/Root.h"
#include "support/FileDialogAnswerer.h"
#include "support/TempRoot.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

class FileDialogTest : public kvtest::RootedTest {};

TEST_F(FileDialogTest, DefaultHandlerCancels) {
    EXPECT_EQ(ShowFileDialog({FileDialogKind::Save, nullptr, "*.*", "All Files (*.*)", OFN_OVERWRITEPROMPT}),
              std::nullopt);
}

TEST_F(FileDialogTest, AnswererAnswersInTurnThenCancelsAndRestoresPrevious) {
    {
        kvtest::FileDialogAnswerer outer({fs::path("/outer")});
        {
            kvtest::FileDialogAnswerer inner({fs::path("/a"), std::nullopt, fs::path("/b")});
            EXPECT_EQ(ShowFileDialog({FileDialogKind::Open, nullptr, "x", "f", 0}), fs::path("/a"));
            EXPECT_EQ(ShowFileDialog({}), std::nullopt);
            EXPECT_EQ(ShowFileDialog({}), fs::path("/b"));
            EXPECT_EQ(ShowFileDialog({}), std::nullopt);
            ASSERT_EQ(inner.requests().size(), 4u);
            EXPECT_EQ(inner.requests()[0].kind, FileDialogKind::Open);
            EXPECT_EQ(inner.requests()[0].fileName, "x");
            EXPECT_EQ(inner.requests()[0].filter, "f");
        }
        EXPECT_EQ(ShowFileDialog({}), fs::path("/outer"));
    }
    EXPECT_EQ(ShowFileDialog({}), std::nullopt);
}

class InstanceLockTest : public kvtest::RootedTest {};

TEST_F(InstanceLockTest, OneHolderAtATimeAndFreedWhenItGoes) {
    {
        const InstanceLock first("Cleaner");
        ASSERT_TRUE(first.IsHeld());
        EXPECT_FALSE(InstanceLock("Cleaner").IsHeld());
        EXPECT_TRUE(InstanceLock("Other").IsHeld());
        EXPECT_TRUE(fs::exists(ProgramFolder() / "Cleaner.lock"));
    }
    EXPECT_TRUE(InstanceLock("Cleaner").IsHeld());
}

TEST_F(InstanceLockTest, NamesThatAreNoPlainFileNameAreRefused) {
    for (const char* name : {"", ".", "..", "../Escape", "a/b", "a\\b"})
        EXPECT_FALSE(InstanceLock(name).IsHeld()) << name;
    EXPECT_FALSE(fs::exists(root() / "Escape.lock"));
}

TEST_F(InstanceLockTest, LinkInPlaceOfTheLockFileIsNotFollowed) {
    const fs::path target = root() / "target";
    fs::create_symlink(target, ProgramFolder() / "Linked.lock");
    EXPECT_FALSE(InstanceLock("Linked").IsHeld());
    EXPECT_FALSE(fs::exists(target));
}

}  // namespace
