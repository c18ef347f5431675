#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Root.h"
#include "settings/CSettings.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"
#include "wizard/CWizAdvProxyModel.h"
#include "wizard/CWizFiltrationModel.h"
#include "wizard/CWizHowModel.h"
#include "wizard/CWizIECleanupModel.h"
#include "wizard/CWizProtectionModel.h"
#include "wizard/CWizProxyModel.h"
#include "wizard/CWizStopListModel.h"
#include "wizard/CWizSysCleanupModel.h"
#include "wizard/DialogIds.h"
#include "wizard/WizTexts.h"

namespace wizard {
namespace {

using Lines = std::vector<std::string>;

class CustomPageModelsTest : public kvtest::RootedTest {};

// The progress window as a list of what it was told.
class StatusLog : public ICleaningStatus {
public:
    void SetStatus(const std::string& text) override { events.push_back(text); }
    void Pause(unsigned ms) override { events.push_back("pause " + std::to_string(ms)); }
    std::vector<std::string> events;
};

TEST_F(CustomPageModelsTest, ProxyPageStartsUncheckedAndStoresChainFlagAndPortOnEveryLeave) {
    CSettings s;
    s.getPrivacySettings()->mEnableProxyChain = 1;
    s.getPrivacySettings()->mListenerPort = 9000;
    CWizProxyModel page;
    page.Load(s);
    EXPECT_FALSE(page.ChainBox());
    EXPECT_EQ(page.Port(), 9000u);
    page.Store(s, "9100");
    EXPECT_EQ(s.getPrivacySettings()->mEnableProxyChain, 0u) << "an unchecked box stores 0 over the stored 1";
    EXPECT_EQ(s.getPrivacySettings()->mListenerPort, 9100u);

    kvtest::MessageBoxRecorder boxes;
    page.SetChainBox(true);
    page.Store(s, " 12x");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Please enter an integer.");
    EXPECT_EQ(s.getPrivacySettings()->mListenerPort, 9100u) << "invalid text keeps the last number";
    EXPECT_EQ(s.getPrivacySettings()->mEnableProxyChain, 1u);
}

TEST_F(CustomPageModelsTest, NumberFieldsRefuseNumbersOutsideTheirRangeAndKeepTheLastOne) {
    CSettings s;
    s.getPrivacySettings()->mListenerPort = 9000;
    s.getPrivacySettings()->mChainLength = 3;
    s.getPrivacySettings()->mChainTimer = 2500;
    CWizProxyModel page;
    page.Load(s);
    const char* const ports[] = {"-1", "0", "65536", "70000"};
    for (const char* port : ports) {
        kvtest::MessageBoxRecorder ok;
        page.Store(s, port);
        EXPECT_EQ(s.getPrivacySettings()->mListenerPort, 9000u) << port;
        ASSERT_EQ(ok.boxes().size(), 1u) << port;
        EXPECT_EQ(ok.boxes()[0].text, "Please enter an integer between 1 and 65535.") << port;
    }
    for (const char* port : {"1", "65535"}) {
        page.Store(s, port);
        EXPECT_EQ(s.getPrivacySettings()->mListenerPort, std::stoul(port));
    }

    kvtest::MessageBoxRecorder ok;
    CWizAdvProxyModel advanced(s, 1);
    advanced.Ok(s, "-1", "-2500");
    EXPECT_EQ(s.getPrivacySettings()->mChainLength, 3u);
    EXPECT_EQ(s.getPrivacySettings()->mChainTimer, 2500u);
    ASSERT_EQ(ok.boxes().size(), 2u);
    EXPECT_EQ(ok.boxes()[0].text, "Please enter an integer between 0 and 2147483647.");
}

TEST_F(CustomPageModelsTest, ProxyPageEnablingFollowsChainBoxAndRadios) {
    CWizProxyModel page;
    EXPECT_FALSE(page.Enabled().port);
    EXPECT_FALSE(page.Enabled().advanced);
    EXPECT_TRUE(page.Enabled().how);
    page.SetChainBox(true);
    EXPECT_TRUE(page.Enabled().port && page.Enabled().radios && page.Enabled().interval);
    EXPECT_FALSE(page.Enabled().advanced) << "one proxy is chosen at start";
    page.ChooseMultipleProxies();
    EXPECT_TRUE(page.Enabled().advanced);
    page.SetChainBox(false);
    EXPECT_FALSE(page.Enabled().advanced || page.Enabled().port || page.Enabled().how);
    EXPECT_EQ(page.ChainFlag(), 0);
    page.SetChainBox(true);
    EXPECT_TRUE(page.Enabled().advanced) << "multiple proxies stay chosen";
    page.ChooseOneProxy();
    EXPECT_FALSE(page.Enabled().advanced);

    page.SetUpdateAtStartup(true);
    EXPECT_FALSE(page.UpdateEvery());
    EXPECT_FALSE(page.Enabled().interval);
    page.SetUpdateEvery(true);
    EXPECT_FALSE(page.UpdateAtStartup());
    EXPECT_TRUE(page.Enabled().interval);
}

TEST_F(CustomPageModelsTest, ParsesWholeNumbersAsTheEditExchangeDoes) {
    const std::pair<const char*, bool> cases[] = {{"8082", true}, {" 42 ", true}, {"-3", true}, {"+7", true},
                                                  {"", false},    {"abc", false}, {"4 2", false},
                                                  {"99999999999", false}};
    for (const auto& [text, valid] : cases) {
        long value = 0;
        EXPECT_EQ(CWizProxyModel::ParseInteger(text, value), valid) << text;
    }
}

TEST_F(CustomPageModelsTest, AdvancedDialogOpensWithPageFlagAndSavesEverythingOnOk) {
    CSettings s;
    s.getPrivacySettings()->mEnableProxyChain = 0;
    s.getPrivacySettings()->mChainLength = 3;
    s.getGeneralSettings()->setStartingPort(8123);
    CWizProxyModel page;
    page.SetChainBox(true);
    page.ChooseMultipleProxies();

    CWizAdvProxyModel advanced(s, page.ChainFlag());
    EXPECT_TRUE(advanced.ChainChecked()) << "the page's flag, not the stored one";
    EXPECT_EQ(advanced.ChainLength(), 3u);
    advanced.ToggleChain();
    EXPECT_FALSE(advanced.EditsEnabled());
    page.TakeChainFlag(advanced.Ok(s, "4", "2500"));
    EXPECT_FALSE(page.ChainBox());
    EXPECT_FALSE(page.Enabled().advanced);

    CSettings stored;
    stored.QueryRegistry();
    EXPECT_EQ(stored.getPrivacySettings()->mChainLength, 4u);
    EXPECT_EQ(stored.getPrivacySettings()->mChainTimer, 2500u);
    EXPECT_EQ(stored.getPrivacySettings()->mEnableProxyChain, 0u);
    EXPECT_EQ(stored.getGeneralSettings()->getStartingPort(), 8123u) << "the whole object is written";
}

// Every stored box of every page reaches its own field alone and comes back.
TEST_F(CustomPageModelsTest, EachStoredBoxRoundTripsThroughItsOwnField) {
    struct Page {
        const char* name;
        std::function<CWizBoxTable&()> boxes;
        std::function<void(CSettings&)> store;
        std::function<void(const CSettings&)> load;
    };
    CWizSysCleanupModel sys;
    CWizIECleanupModel ie;
    CWizFiltrationModel filtration;
    CWizProtectionModel protection;
    const Page pages[] = {
        {"150", [&]() -> CWizBoxTable& { return sys.Boxes(); }, [&](CSettings& s) { sys.Store(s); },
         [&](const CSettings& s) { sys.Load(s); }},
        {"151", [&]() -> CWizBoxTable& { return ie.Boxes(); }, [&](CSettings& s) { ie.Store(s); },
         [&](const CSettings& s) { ie.Load(s); }},
        {"152", [&]() -> CWizBoxTable& { return filtration.Boxes(); }, [&](CSettings& s) { filtration.Store(s); },
         [&](const CSettings& s) { filtration.Load(s); }},
        {"153", [&]() -> CWizBoxTable& { return protection.Boxes(); }, [&](CSettings& s) { protection.Store(s); },
         [&](const CSettings& s) { protection.Load(s); }},
    };
    for (const Page& page : pages) {
        for (const SBoxRow& only : page.boxes().Rows()) {
            if (!only.store) continue;
            CSettings s;
            s.getCleanupSettings()->Clear();
            for (const SBoxRow& row : page.boxes().Rows()) page.boxes().SetChecked(row.box, row.box == only.box);
            page.store(s);
            for (const SBoxRow& row : page.boxes().Rows()) page.boxes().SetChecked(row.box, !(row.box == only.box));
            page.load(s);
            for (const SBoxRow& row : page.boxes().Rows()) {
                if (!row.load) continue;
                EXPECT_EQ(page.boxes().IsChecked(row.box), row.box == only.box) << page.name << " " << row.box;
            }
        }
    }
}

TEST_F(CustomPageModelsTest, FiltrationPageWithEveryBoxClearedStoresZeros) {
    CSettings s;
    s.SetToMaximumProtection();
    CWizFiltrationModel page;
    EXPECT_TRUE(page.Boxes().IsChecked(filtration::kHideTitle));
    for (const SBoxRow& row : page.Boxes().Rows()) page.Boxes().SetChecked(row.box, false);
    page.Store(s);
    const CFiltrationSettings& f = *s.getFiltrationSettings();
    EXPECT_EQ(f.mAdvancedFiltration.mDisableTimerScripts + f.mAdvancedFiltration.mDisableWndCloseupEvents +
                  f.mAdvancedFiltration.mRemoveStatusModifier + f.mAdvancedFiltration.mRemoveContextMenu,
              0u);
    EXPECT_FALSE(f.mInFiltration.getBlockPopUps() || f.mInFiltration.getBlockBannerFlash() ||
                 f.mInFiltration.getBlockImages() || f.mInFiltration.getBlockScripts());
}

TEST_F(CustomPageModelsTest, CookieBoxesTouchNoCleanupChoice) {
    CSettings s;
    s.getCleanupSettings()->mCleanupInternet.setCookies(1);
    s.getCleanupSettings()->mCleanupSys.setRun(1);
    CWizProtectionModel page;
    page.Boxes().SetChecked(protection::kAllCookies, false);
    page.Boxes().SetChecked(protection::kUnsafeCookies, false);
    page.Store(s);
    EXPECT_EQ(s.getFiltrationSettings()->mOutFiltration.IsDiabledCookies(), 0);
    EXPECT_TRUE(s.getCleanupSettings()->mCleanupInternet.getCookies());
    EXPECT_TRUE(s.getCleanupSettings()->mCleanupSys.getRun());
    page.Boxes().SetChecked(protection::kAllCookies, true);
    page.Store(s);
    EXPECT_EQ(s.getFiltrationSettings()->mOutFiltration.IsDiabledCookies(), 1);
}

TEST_F(CustomPageModelsTest, StopListAddsTrimmedNewServersInSortedOrderOnly) {
    CSettings s;
    s.getFiltrationSettings()->mOutFiltration.SetServerStopList({"zeta.example", "alpha.example"});
    CWizStopListModel page;
    page.Load(s);
    EXPECT_EQ(page.Servers().Lines(), (Lines{"alpha.example", "zeta.example"}));
    EXPECT_FALSE(page.Servers().State().edit) << "a stored list leaves Edit and Remove disabled";
    EXPECT_TRUE(page.Servers().State().add);

    EXPECT_TRUE(page.AddServer("  mid.example  "));
    EXPECT_TRUE(page.Servers().State().edit && page.Servers().State().remove);
    EXPECT_FALSE(page.AddServer("MID.example"));
    EXPECT_FALSE(page.AddServer("alpha")) << "a beginning of a line is there already";
    EXPECT_FALSE(page.AddServer("   "));
    EXPECT_EQ(page.Servers().Lines(), (Lines{"alpha.example", "mid.example", "zeta.example"}));

    EXPECT_TRUE(page.EditServer(2, "omega.example"));
    EXPECT_FALSE(page.EditServer(0, "omega"));
    EXPECT_EQ(page.Servers().Lines(), (Lines{"alpha.example", "mid.example", "omega.example"}));

    page.SetStopListBox(false);
    EXPECT_FALSE(page.Servers().State().list || page.Servers().State().add || page.Servers().State().edit);
    page.SetStopListBox(true);
    EXPECT_TRUE(page.Servers().State().edit);
}

TEST_F(CustomPageModelsTest, StopListRemoveAsksAndDisablesEditWhateverTheAnswer) {
    CWizStopListModel page;
    page.AddServer("a.example");
    page.AddServer("b.example");
    {
        kvtest::MessageBoxRecorder no(platform::IDNO);
        page.RemoveServer(1);
        ASSERT_EQ(no.boxes().size(), 1u);
        EXPECT_EQ(no.boxes()[0].text, "Are You Sure You Want To Remove This Title b.example");
        EXPECT_EQ(no.boxes()[0].caption, "Kavelin Settings Wizard");
    }
    EXPECT_EQ(page.Servers().Lines().size(), 2u);
    EXPECT_FALSE(page.Servers().State().edit || page.Servers().State().remove);
    kvtest::MessageBoxRecorder yes(platform::IDYES);
    page.RemoveServer(0);
    page.RemoveServer(0);
    CSettings s;
    s.getFiltrationSettings()->mInFiltration.mBanners.SetCustomServerList({"b: 2", "a: 1"});
    page.Store(s);
    EXPECT_TRUE(s.getFiltrationSettings()->mOutFiltration.GetServerStopList().empty());
    EXPECT_EQ(s.getFiltrationSettings()->mInFiltration.mBanners.GetCustomServerList(), (Lines{}))
        << "the page carries the custom list it loaded";
}

TEST_F(CustomPageModelsTest, CustomDirectoriesRefuseMissingAndRepeatedPaths) {
    const auto folder = root() / "profile" / "junk";
    std::filesystem::create_directories(folder);
    CWizSysCleanupModel page;
    page.SetCustomBox(true);
    kvtest::MessageBoxRecorder boxes;
    EXPECT_FALSE(page.AddDirectory((root() / "profile" / "nothing").string()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Invalid Directory");
    EXPECT_EQ(boxes.boxes()[0].caption, "Bad Command or Name not Found");
    EXPECT_TRUE(page.AddDirectory(" " + folder.string() + " "));
    EXPECT_FALSE(page.AddDirectory(folder.string()));
    EXPECT_EQ(page.Directories().Lines(), (Lines{folder.string()}));
    page.SelectionChanged(false);
    EXPECT_FALSE(page.Directories().State().list || page.Directories().State().add);
    page.SelectionChanged(true);
    EXPECT_TRUE(page.Directories().State().edit && page.Directories().State().remove);
}

TEST_F(CustomPageModelsTest, CustomDirectoriesRefuseTheRootAndItsKeptFolders) {
    const auto kept = root() / "profile" / "kept";
    kvtest::WriteFile(kept / "a.txt", "x");
    kvtest::WriteFile(root() / "registry" / "HKCU.reg", "hive");
    kvtest::WriteFile(root() / "program" / "dbase" / "proxypool.db", "pool");
    CWizSysCleanupModel page;
    page.SetCustomBox(true);
    ASSERT_TRUE(page.AddDirectory(kept.string()));
    for (const std::string& refused : {root().string(), root().string() + "/", (root() / "profile" / "..").string(),
                                       (root() / "registry").string(), (root() / "program").string() + "/",
                                       root().parent_path().string()}) {
        kvtest::MessageBoxRecorder ok;
        EXPECT_FALSE(page.AddDirectory(refused)) << refused;
        EXPECT_FALSE(page.EditDirectory(0, refused)) << refused;
        ASSERT_EQ(ok.boxes().size(), 2u) << refused;
        EXPECT_EQ(ok.boxes()[0].text, text::kKeepsOwnFiles);
        EXPECT_EQ(ok.boxes()[0].caption, text::kCaption);
        EXPECT_EQ(ok.boxes()[1].text, text::kKeepsOwnFiles);
    }
    EXPECT_EQ(page.Directories().Lines(), (Lines{kept.string()}));
    CTraceSweeper sweeper;
    StatusLog log;
    page.RunNow(sweeper, log);
    EXPECT_FALSE(std::filesystem::exists(kept));
    EXPECT_EQ(kvtest::ReadFile(root() / "registry" / "HKCU.reg"), "hive");
    EXPECT_EQ(kvtest::ReadFile(root() / "program" / "dbase" / "proxypool.db"), "pool");
}

TEST_F(CustomPageModelsTest, RunNowPacesCheckedItemsAndDeletesDirectoriesOnlyWithTheirBox) {
    const auto folder = root() / "profile" / "junk";
    kvtest::WriteFile(folder / "a.txt", "x");
    CTraceSweeper sweeper;
    {
        CWizSysCleanupModel page;
        StatusLog log;
        page.RunNow(sweeper, log);
        EXPECT_TRUE(log.events.empty()) << "nothing checked: no text and no Done";
    }
    {
        CWizSysCleanupModel page;
        page.SetCustomBox(true);
        ASSERT_TRUE(page.AddDirectory(folder.string()));
        StatusLog log;
        page.RunNow(sweeper, log);
        EXPECT_TRUE(log.events.empty());
        EXPECT_FALSE(std::filesystem::exists(folder));
    }
    CWizSysCleanupModel page;
    page.Boxes().SetChecked(syscleanup::kRecycle, true);
    page.Boxes().SetChecked(syscleanup::kTelnet, true);
    StatusLog log;
    page.RunNow(sweeper, log);
    std::vector<std::string> expected{"Please Wait While Velamor Clears Your Recycle Bin...", "pause 1000"};
    for (int dots = 0; dots < 6; ++dots) {
        expected.push_back("Clearing Recycle Bin" + std::string(dots, '.') + "\t");
        expected.push_back("pause 500");
    }
    for (int dots = 0; dots < 5; ++dots) {
        expected.push_back("Clearing Telnet History" + std::string(dots, '.'));
        expected.push_back("pause 500");
    }
    expected.insert(expected.end(), {"Done", "pause 500"});
    EXPECT_EQ(log.events, expected);
}

TEST_F(CustomPageModelsTest, BrowserRunNowCleansTheSystemBrowsersCookies) {
    const auto cookies = platform::ShellFolder(platform::CSIDL_COOKIES);
    ASSERT_TRUE(cookies);
    kvtest::WriteFile(*cookies / "user@site.txt", "cookie");
    CWizIECleanupModel page;
    page.Boxes().SetChecked(iecleanup::kCookies, true);
    page.Boxes().SetChecked(iecleanup::kAutoPass, true);
    CTraceSweeper sweeper;
    StatusLog log;
    page.RunNow(sweeper, log);
    EXPECT_FALSE(std::filesystem::exists(*cookies / "user@site.txt"));
    ASSERT_GE(log.events.size(), 2u);
    EXPECT_EQ(log.events[0], "pause 500") << "the passwords item keeps the line's text";
    EXPECT_EQ(log.events[1], "Clearing Cookies") << "only the table's first row counts six dots";
}

TEST_F(CustomPageModelsTest, HowPictureGrowsCentredToItsFullSizeAndStopsWithTheWidth) {
    CWizHowModel how(10, 9, 100, 50);
    CWizHowModel::SRect at = how.Start();
    EXPECT_EQ(at.x, 50);
    EXPECT_EQ(at.width, 0);
    std::vector<std::pair<int, int>> sizes;
    for (int tick = 0; tick < 20 && how.Running(); ++tick) {
        at = how.Tick(at.width, at.height);
        sizes.emplace_back(at.width, at.height);
        EXPECT_EQ(at.x, (100 - at.width) / 2);
        EXPECT_EQ(at.y, (50 - at.height) / 2);
    }
    const std::vector<std::pair<int, int>> expected{{2, 4}, {4, 8}, {6, 9}, {8, 9}, {10, 9}, {10, 9}};
    EXPECT_EQ(sizes, expected) << "the height stops at its full size; the width ends the growth";
    EXPECT_FALSE(how.Running());
    const CWizHowModel::SRect region = CWizHowModel(448, 290, 1280, 1024).Region();
    EXPECT_EQ(std::tuple(region.x, region.y, region.width, region.height), std::tuple(14, 14, 424, 271));
}

}  // namespace
}  // namespace wizard
