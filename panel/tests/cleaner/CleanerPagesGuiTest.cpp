#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/frame.h>

#include <unistd.h>

#include "GuiTest.h"
#include "cleanup/closewatch/CloseWatchRecord.h"
#include "controls/CAnimatedGifStatic.h"
#include "controls/CGifButton.h"
#include "panel/app/CServerHost.h"
#include "panel/cleaner/CAdvCleanerDlg.h"
#include "panel/cleaner/CAdvCleanerIexplorerDlg.h"
#include "panel/cleaner/CAdvCleanerSystemDlg.h"
#include "panel/cleaner/CCleanerActions.h"
#include "panel/cleaner/CleanerPageIds.h"
#include "panel/main/CPageMakers.h"
#include "panel/tests/support/PageGuiTest.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using namespace cleanerpage;

class CleanerPagesGuiTest : public paneltest::PageGuiTest {
protected:
    CleanerPagesGuiTest() : PageGuiTest("cleaner") {
        // The program links the pages whole; a test registers them itself.
        CPageMakers::Set(IDD_ADV_CLEANER_SYSTEM, [](CServerHost& host) {
            return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvCleanerSystemDlg>(&host));
        });
        CPageMakers::Set(IDD_ADV_CLEANER_IEXPLORER, [](CServerHost& host) {
            return std::unique_ptr<CBaseDlg>(std::make_unique<CAdvCleanerIexplorerDlg>(&host));
        });
        page_ = new CAdvCleanerDlg(&host_);
        EXPECT_TRUE(page_->Create(IDD_ADV_CLEANER, frame_));
        kvtest::PumpUi(10ms);
    }

    CCleanupSettings& Cleanup() { return *host_.GetSettings().getCleanupSettings(); }

    CAdvCleanerDlg* page_ = nullptr;
};

TEST_F(CleanerPagesGuiTest, ZonesSwitchBetweenTheItemPagesAndItemClicksStoreAtOnce) {
    ASSERT_EQ(page_->Shown(), IDD_ADV_CLEANER_SYSTEM);
    auto* system = dynamic_cast<CAdvCleanerSystemDlg*>(page_->SubPage());
    ASSERT_NE(system, nullptr);
    EXPECT_FALSE(system->Box(IDC_TELNET)->IsShown());
    EXPECT_FALSE(system->DeselectAllButton()->IsShown());
    Toggle(system->Box(IDC_RECYCLE_BIN));
    EXPECT_EQ(Cleanup().mCleanupSys.mRecycle, 1u);
    Click(system->SelectAllButton());
    EXPECT_TRUE(system->Box(IDC_RUN_HISTORY)->GetValue());
    EXPECT_TRUE(system->DeselectAllButton()->IsShown());
    EXPECT_FALSE(system->SelectAllButton()->IsShown());
    EXPECT_EQ(Cleanup().mCleanupSys.mTelnet, 1u);

    Click(page_->FindWindow(IDC_ZONE_SYSTEM));
    EXPECT_EQ(page_->SubPage(), system);
    Click(page_->FindWindow(IDC_ZONE_BROWSER));
    ASSERT_EQ(page_->Shown(), IDD_ADV_CLEANER_IEXPLORER);
    auto* browser = dynamic_cast<CAdvCleanerIexplorerDlg*>(page_->SubPage());
    ASSERT_NE(browser, nullptr);
    auto* strip = dynamic_cast<CAnimatedGifStatic*>(page_->FindWindow(IDC_CLEANER_STRIP));
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(strip->IsLoaded());
    Toggle(browser->Box(IDC_URL_HISTORY));
    EXPECT_EQ(Cleanup().mCleanupInternet.mHistory, 1u);
}

TEST_F(CleanerPagesGuiTest, CleanNowFollowsTheBoxesAndTheFlagsReachTheSettingsOnDestroy) {
    const std::string typedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
    {
        platform::RegKey key;
        ASSERT_EQ(platform::ERROR_SUCCESS, key.Create(platform::HKEY_CURRENT_USER, typedUrls));
        ASSERT_EQ(platform::ERROR_SUCCESS, key.SetStringValue("url1", "http://typed/"));
    }
    Click(page_->FindWindow(IDC_ZONE_BROWSER));
    auto* browser = dynamic_cast<CAdvCleanerIexplorerDlg*>(page_->SubPage());
    ASSERT_NE(browser, nullptr);
    browser->Box(IDC_TYPED_URLS)->SetValue(true);
    kvtest::MessageBoxRecorder boxes(platform::IDYES);
    Click(page_->CleanNowButton());
    platform::RegKey gone;
    EXPECT_NE(platform::ERROR_SUCCESS, gone.Open(platform::HKEY_CURRENT_USER, typedUrls));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "This will Cleanup all Internet Explorer selected Items");

    Toggle(page_->ProgramExitBox());
    EXPECT_EQ(Cleanup().mCleanupAdvanced.mWindowsExit, 1u);
    page_->ProgramExitBox()->SetValue(false);
    page_->Destroy();
    EXPECT_EQ(Cleanup().mCleanupAdvanced.mWindowsExit, 0u);
}

// The hooks armed with one lasting window (the main window's) are disarmed
// by later loaders with that window, and by no other.
class CleanerHooksGuiTest : public kvtest::RootedTest {
protected:
    ~CleanerHooksGuiTest() override {
        CCleanerActions(main_).StopHooks();
        platform::DestroyWindow(main_);
        platform::DestroyWindow(page_);
        CloseWatchRecord::Remove();
    }
    static platform::HWND Window() {
        return platform::CreateMessageWindow("CleanerHooksTest", "", [](platform::HWND, platform::UINT,
                                                                          platform::WPARAM, platform::LPARAM) {
            return platform::LRESULT{0};
        });
    }
    platform::HWND main_ = Window();
    platform::HWND page_ = Window();
};

TEST_F(CleanerHooksGuiTest, ArmedWithTheMainWindowAndDisarmedOnlyWithIt) {
    CCleanerActions(main_).StartHooks();
    auto record = CloseWatchRecord::Open();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->hNotifyWnd(), main_);
    EXPECT_EQ(record->owner(), static_cast<platform::DWORD>(::getpid()));
    CCleanerActions(page_).StartHooks();
    CCleanerActions(page_).StopHooks();
    EXPECT_EQ(record->hNotifyWnd(), main_);
    CCleanerActions(main_).StopHooks();
    EXPECT_FALSE(record->hNotifyWnd());
}

}  // namespace
