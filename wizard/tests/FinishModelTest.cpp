#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/TempRoot.h"
#include "settings/CSettings.h"
#include "wizard/CWizFinishModel.h"

namespace wizard {
namespace {

class FinishModelTest : public kvtest::RootedTest {
protected:
    // A stand-in cleaner that records its arguments.
    std::filesystem::path FakeCleanerFolder() {
        const auto folder = root() / "bin";
        kvtest::WriteFile(folder / CWizFinishModel::kCleanerProgram,
                          "#!/bin/sh\necho \"$@\" > \"" + (root() / "args.tmp").string() + "\"\nmv \"" +
                              (root() / "args.tmp").string() + "\" \"" + (root() / "args").string() + "\"\n");
        std::filesystem::permissions(folder / CWizFinishModel::kCleanerProgram, std::filesystem::perms::owner_all);
        return folder;
    }
    std::string WaitForArgs() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!std::filesystem::exists(root() / "args") && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return kvtest::ReadFile(root() / "args");
    }
};

TEST_F(FinishModelTest, SavesEverySectionThenStartsTheCleanerForTheStartUpChoice) {
    const struct {
        platform::DWORD windowsStart;
        const char* args;
    } cases[] = {{1, "-r\n"}, {0, "-u\n"}, {2, "-r\n"}};
    const auto folder = FakeCleanerFolder();
    for (const auto& c : cases) {
        std::filesystem::remove(root() / "args");
        CSettings settings;
        settings.getGeneralSettings()->setStartingPort(8082);
        settings.getSysConfig()->setAutoOpera(true);
        settings.getCleanupSettings()->mCleanupAdvanced.mWindowsStart = c.windowsStart;
        EXPECT_TRUE(CWizFinishModel::Finish(settings, folder).IsValid());
        EXPECT_EQ(WaitForArgs(), c.args);

        CSettings stored;
        stored.QueryRegistry();
        EXPECT_EQ(stored.getGeneralSettings()->getStartingPort(), 8082u);
        EXPECT_TRUE(stored.getSysConfig()->getAutoOpera());
        EXPECT_EQ(stored.getCleanupSettings()->mCleanupAdvanced.mWindowsStart, c.windowsStart);
    }
}

TEST_F(FinishModelTest, SavesEvenWhenNoCleanerCanBeStarted) {
    CSettings settings;
    settings.getGeneralSettings()->setStartingPort(8090);
    EXPECT_FALSE(CWizFinishModel::Finish(settings, root() / "nowhere").IsValid());
    CSettings stored;
    stored.QueryRegistry();
    EXPECT_EQ(stored.getGeneralSettings()->getStartingPort(), 8090u);
}

}  // namespace
}  // namespace wizard
