#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "panel/cleaner/CAdvCleanerItemsModel.h"
#include "panel/cleaner/CAdvCleanerModel.h"
#include "panel/cleaner/CCleanerActions.h"
#include "panel/cleaner/CleanerPageIds.h"
#include "panel/cleaner/ICleanerActions.h"
#include "panel/tests/support/RecordingPageHost.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "settings/CSettings.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

namespace fs = std::filesystem;
using namespace cleanerpage;
using kvtest::MessageBoxRecorder;

using FakeHost = paneltest::RecordingPageHost;

class FakeActions : public ICleanerActions {
public:
    std::vector<std::string> log;
    void CopyCleanerProgram() override { log.push_back("copy"); }
    void StartHooks() override { log.push_back("arm"); }
    void StopHooks() override { log.push_back("disarm"); }
    void StartCleaner(const std::string& argument) override { log.push_back("KVSweep " + argument); }
};

CCleanupSys& Sys(CSettings& s) { return s.getCleanupSettings()->mCleanupSys; }
CCleanupInternet& Net(CSettings& s) { return s.getCleanupSettings()->mCleanupInternet; }
CCleanupAdvanced& Adv(CSettings& s) { return s.getCleanupSettings()->mCleanupAdvanced; }

// Each box and the stored field it stands for, written down apart from the
// pages' own table.
struct Binding {
    int control;
    platform::DWORD CCleanupSys::*sys;
    platform::DWORD CCleanupInternet::*net;
};
const Binding kBindings[] = {
    {IDC_RUN_HISTORY, &CCleanupSys::mRun, nullptr},
    {IDC_FIND_COMPUTERS, &CCleanupSys::mFindComp, nullptr},
    {IDC_NETWORK, &CCleanupSys::mNetwork, nullptr},
    {IDC_TELNET, &CCleanupSys::mTelnet, nullptr},
    {IDC_LAST_LOGIN, &CCleanupSys::mLogin, nullptr},
    {IDC_FIND_FILES, &CCleanupSys::mFindFile, nullptr},
    {IDC_RECYCLE_BIN, &CCleanupSys::mRecycle, nullptr},
    {IDC_TEMP_FOLDER, &CCleanupSys::mTemp, nullptr},
    {IDC_RECENT_FOLDER, &CCleanupSys::mRecent, nullptr},
    {IDC_TEMP_INTERNET, nullptr, &CCleanupInternet::mTempFiles},
    {IDC_COOKIES, nullptr, &CCleanupInternet::mCookies},
    {IDC_AUTO_FORMS, nullptr, &CCleanupInternet::mAutoForms},
    {IDC_AUTO_PASSWORDS, nullptr, &CCleanupInternet::mAutoPass},
    {IDC_FAVORITES, nullptr, &CCleanupInternet::mFavourites},
    {IDC_TYPED_URLS, nullptr, &CCleanupInternet::mURLs},
    {IDC_URL_HISTORY, nullptr, &CCleanupInternet::mHistory},
};

platform::DWORD& Field(CSettings& s, const Binding& b) { return b.sys ? Sys(s).*b.sys : Net(s).*b.net; }
const CleanerItemTable& TableOf(const Binding& b) { return b.sys ? SystemItemTable() : BrowserItemTable(); }

std::vector<int> OnlyChecked(const CleanerItemTable& table, std::vector<int> controls) {
    std::vector<int> boxes(table.items.size(), 0);
    for (int control : controls) boxes.at(IndexOfItem(table, control)) = 1;
    return boxes;
}

TEST(CleanerItemsModelTest, EachBoxLoadsAndStoresItsOwnSettingOnly) {
    for (const Binding& b : kBindings) {
        SCOPED_TRACE(b.control);
        const CleanerItemTable& table = TableOf(b);
        FakeHost host;
        Field(host.settings, b) = 1;
        CAdvCleanerItemsModel model(host, table);
        model.Load();
        EXPECT_EQ(model.Values(), OnlyChecked(table, {b.control}));

        FakeHost other;
        CAdvCleanerItemsModel clicked(other, table);
        clicked.Load();
        clicked.OnItemClicked(b.control, OnlyChecked(table, {b.control}));
        EXPECT_EQ(Field(other.settings, b), 1u);
        CSettings expected;
        Field(expected, b) = 1;
        EXPECT_EQ(0, std::memcmp(&Sys(other.settings), &Sys(expected), sizeof(CCleanupSys)));
        EXPECT_EQ(0, std::memcmp(&Net(other.settings), &Net(expected), sizeof(CCleanupInternet)));
        EXPECT_EQ(other.modified, (std::vector<std::pair<bool, int>>{{true, 0}}));
    }
}

TEST(CleanerItemsModelTest, ClickTakesEveryBoxShownNotOnlyTheClickedOne) {
    FakeHost host;
    Sys(host.settings).mRun = 1;
    CAdvCleanerItemsModel model(host, SystemItemTable());
    model.Load();
    model.OnItemClicked(IDC_TEMP_FOLDER, OnlyChecked(SystemItemTable(), {IDC_TEMP_FOLDER, IDC_RECENT_FOLDER}));
    EXPECT_EQ(Sys(host.settings).mRun, 0u);
    EXPECT_EQ(Sys(host.settings).mTemp, 1u);
    EXPECT_EQ(Sys(host.settings).mRecent, 1u);
}

TEST(CleanerItemsModelTest, FavouritesWarnOnlyWhenLeftCheckedOrAllSelected) {
    MessageBoxRecorder boxes;
    FakeHost host;
    CAdvCleanerItemsModel model(host, BrowserItemTable());
    model.Load();
    model.OnItemClicked(IDC_COOKIES, OnlyChecked(BrowserItemTable(), {IDC_COOKIES}));
    model.OnItemClicked(IDC_FAVORITES, OnlyChecked(BrowserItemTable(), {IDC_COOKIES}));
    EXPECT_TRUE(boxes.boxes().empty());
    model.OnItemClicked(IDC_FAVORITES, OnlyChecked(BrowserItemTable(), {IDC_FAVORITES}));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Warning: will clean your favorites");
    EXPECT_EQ(boxes.boxes()[0].caption, "Favorites Warning");
    EXPECT_EQ(boxes.boxes()[0].type, platform::MB_OK);
    model.SelectAll();
    EXPECT_EQ(boxes.boxes().size(), 2u);

    FakeHost sysHost;
    CAdvCleanerItemsModel system(sysHost, SystemItemTable());
    system.SelectAll();
    EXPECT_EQ(boxes.boxes().size(), 2u);
}

TEST(CleanerItemsModelTest, SelectAllAndDeselectAllSwapTheOfferedButton) {
    for (const CleanerItemTable* table : {&SystemItemTable(), &BrowserItemTable()}) {
        MessageBoxRecorder boxes;
        FakeHost host;
        CAdvCleanerItemsModel model(host, *table);
        model.Load();
        EXPECT_TRUE(model.OffersSelectAll());
        model.SelectAll();
        EXPECT_FALSE(model.OffersSelectAll());
        EXPECT_EQ(model.Values(), std::vector<int>(table->items.size(), 1));
        for (const Binding& b : kBindings) {
            if (&TableOf(b) == table) {
                EXPECT_EQ(Field(host.settings, b), 1u) << b.control;
            }
        }
        model.DeselectAll();
        EXPECT_TRUE(model.OffersSelectAll());
        for (const Binding& b : kBindings) {
            if (&TableOf(b) == table) {
                EXPECT_EQ(Field(host.settings, b), 0u) << b.control;
            }
        }
        EXPECT_FALSE(host.modified.empty());
    }
}

TEST(CleanerModelTest, LoadsTheThreeFlagsByPosition) {
    FakeHost host;
    Adv(host.settings) = {1, 0, 1};
    CAdvCleanerModel model(host);
    model.Load();
    EXPECT_TRUE(model.BrowserExit());
    EXPECT_FALSE(model.ProgramExit());
    EXPECT_TRUE(model.WindowsStart());
    model.Store(false, true, false);
    EXPECT_EQ(Adv(host.settings).mBrowserExit, 0u);
    EXPECT_EQ(Adv(host.settings).mWindowsExit, 1u);
    EXPECT_EQ(Adv(host.settings).mWindowsStart, 0u);
}

TEST(CleanerModelTest, BrowserExitCopiesTheCleanerThenArmsOrDisarms) {
    FakeHost host;
    FakeActions actions;
    CAdvCleanerModel model(host);
    model.OnBrowserExit(true, actions);
    EXPECT_EQ(Adv(host.settings).mBrowserExit, 1u);
    model.OnBrowserExit(false, actions);
    EXPECT_EQ(Adv(host.settings).mBrowserExit, 0u);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"copy", "arm", "disarm"}));
    EXPECT_EQ(host.modified, (std::vector<std::pair<bool, int>>{{true, 0}, {true, 0}}));
}

TEST(CleanerModelTest, WindowsStartTellsTheCleanerAndProgramExitOnlyStores) {
    FakeHost host;
    FakeActions actions;
    CAdvCleanerModel model(host);
    model.OnWindowsStart(true, actions);
    EXPECT_EQ(Adv(host.settings).mWindowsStart, 1u);
    model.OnWindowsStart(false, actions);
    EXPECT_EQ(Adv(host.settings).mWindowsStart, 0u);
    model.OnProgramExit(true);
    EXPECT_EQ(Adv(host.settings).mWindowsExit, 1u);
    EXPECT_EQ(Adv(host.settings).mBrowserExit, 0u);
    EXPECT_EQ(actions.log, (std::vector<std::string>{"KVSweep -r", "KVSweep -u"}));
    EXPECT_EQ(host.modified.size(), 3u);
}

// Clean Now with the real sweeper against the test's own root.
class CleanNowTest : public kvtest::RootedTest {
protected:
    const std::string kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    const std::string kRecentDocs = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
    const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

    void SetUp() override {
        for (const std::string& key : {kRunMru, kRecentDocs, kTypedUrls}) {
            platform::RegKey opened;
            ASSERT_EQ(platform::ERROR_SUCCESS, opened.Create(platform::HKEY_CURRENT_USER, key));
            ASSERT_EQ(platform::ERROR_SUCCESS, opened.SetStringValue("a", "trace"));
        }
        kvtest::WriteFile(TempFile(), "temp");
        kvtest::WriteFile(RecentFile(), "recent");
        kvtest::WriteFile(CookieFile(), "cookie");
    }

    static bool KeyExists(const std::string& key) {
        platform::RegKey opened;
        return opened.Open(platform::HKEY_CURRENT_USER, key) == platform::ERROR_SUCCESS;
    }
    static fs::path TempFile() { return platform::ProfileFolder() / "Local Settings/temp/t.tmp"; }
    static fs::path RecentFile() { return *platform::ShellFolder(platform::CSIDL_RECENT) / "doc.lnk"; }
    static fs::path CookieFile() { return *platform::ShellFolder(platform::CSIDL_COOKIES) / "user@site.txt"; }

    FakeHost host;
    CAdvCleanerModel model{host};
};

TEST_F(CleanNowTest, SystemPageCleansOnlyItsCheckedBoxesAfterYes) {
    MessageBoxRecorder boxes(platform::IDYES);
    const auto checked = OnlyChecked(SystemItemTable(), {IDC_RUN_HISTORY, IDC_TEMP_FOLDER});
    EXPECT_TRUE(model.CleanNow(true, &checked));
    EXPECT_FALSE(KeyExists(kRunMru));
    EXPECT_FALSE(fs::exists(TempFile()));
    EXPECT_TRUE(KeyExists(kRecentDocs));
    EXPECT_TRUE(fs::exists(RecentFile()));
    EXPECT_TRUE(KeyExists(kTypedUrls));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "This will Cleanup all System selected Items");
    EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin Confirmation");
    EXPECT_EQ(boxes.boxes()[0].type, platform::MB_YESNO | platform::MB_ICONQUESTION);
}

TEST_F(CleanNowTest, BrowserPageCleansTheSystemBrowsersCheckedItems) {
    MessageBoxRecorder boxes(platform::IDYES);
    const auto checked = OnlyChecked(BrowserItemTable(), {IDC_TYPED_URLS, IDC_COOKIES});
    EXPECT_TRUE(model.CleanNow(false, &checked));
    EXPECT_FALSE(KeyExists(kTypedUrls));
    EXPECT_FALSE(fs::exists(CookieFile()));
    EXPECT_TRUE(KeyExists(kRunMru));
    EXPECT_TRUE(fs::exists(TempFile()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "This will Cleanup all Internet Explorer selected Items");
}

TEST_F(CleanNowTest, DeclinedOrPagelessCleanNowRemovesNothing) {
    const auto all = std::vector<int>(SystemItemTable().items.size(), 1);
    {
        MessageBoxRecorder boxes(platform::IDNO);
        EXPECT_FALSE(model.CleanNow(true, &all));
        EXPECT_FALSE(model.CleanNow(false, &all));
        EXPECT_EQ(boxes.boxes().size(), 2u);
    }
    MessageBoxRecorder boxes(platform::IDYES);
    EXPECT_TRUE(model.CleanNow(false, nullptr));
    for (const std::string& key : {kRunMru, kRecentDocs, kTypedUrls}) EXPECT_TRUE(KeyExists(key)) << key;
    for (const fs::path& file : {TempFile(), RecentFile(), CookieFile()}) EXPECT_TRUE(fs::exists(file)) << file;
}

TEST_F(CleanNowTest, StoredSettingsDoNotDecideWhatIsCleaned) {
    MessageBoxRecorder boxes(platform::IDYES);
    Sys(host.settings).mRun = 1;
    const auto checked = OnlyChecked(SystemItemTable(), {IDC_RECENT_FOLDER});
    model.CleanNow(true, &checked);
    EXPECT_TRUE(KeyExists(kRunMru));
    EXPECT_FALSE(KeyExists(kRecentDocs));
    EXPECT_FALSE(fs::exists(RecentFile()));
}

// The real outside actions, with a program folder of the test's own.
class CleanerActionsTest : public kvtest::RootedTest {
protected:
    fs::path ProgramFolder() const { return root() / "bin"; }
    fs::path Copy() const { return platform::ProfileFolder() / "kvsweep"; }
};

TEST_F(CleanerActionsTest, CopiesTheCleanerOnceAndNeverOverwrites) {
    CCleanerActions actions({}, ProgramFolder());
    actions.CopyCleanerProgram();
    EXPECT_FALSE(fs::exists(Copy()));
    kvtest::WriteFile(ProgramFolder() / "KVSweep", "first");
    actions.CopyCleanerProgram();
    EXPECT_EQ(kvtest::ReadFile(Copy()), "first");
    kvtest::WriteFile(ProgramFolder() / "KVSweep", "second");
    actions.CopyCleanerProgram();
    EXPECT_EQ(kvtest::ReadFile(Copy()), "first");
}

TEST_F(CleanerActionsTest, StartsTheCleanerFromTheProgramFolderWithItsArgument) {
    const fs::path out = root() / "args.txt";
    kvtest::WriteFile(ProgramFolder() / "KVSweep", "#!/bin/sh\necho \"$@\" > '" + out.string() + ".part'\nmv '" +
                                                       out.string() + ".part' '" + out.string() + "'\n");
    fs::permissions(ProgramFolder() / "KVSweep", fs::perms::owner_all);
    CCleanerActions({}, ProgramFolder()).StartCleaner("-r");
    for (int i = 0; i < 500 && !fs::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(kvtest::ReadFile(out), "-r\n");
}

}  // namespace
