#include <gtest/gtest.h>

#include <set>

#include "FakePageHost.h"
#include "support/TempRoot.h"
#include "panel/pages/CAutoConfigDlgModel.h"
#include "panel/pages/GeneralPageIds.h"

namespace {

using pagetest::FakePageHost;

class AutoConfigDlgModelTest : public kvtest::RootedTest {
protected:
    // Every program flag set; only the listed boxes' programs installed.
    CAutoConfigDlgModel Make(std::set<int> installed) {
        CSysConfig& sys = *host_.settings.getSysConfig();
        for (const auto& program : CAutoConfigDlgModel::Programs()) (sys.*program.set)(true);
        CAutoConfigDlgModel model(host_, [installed](int box) { return installed.count(box) > 0; });
        model.Init();
        return model;
    }

    FakePageHost host_;
};

TEST_F(AutoConfigDlgModelTest, ProgramsThatAreNotInstalledStayDisabledAndUncheckedThoughTheirFlagIsSet) {
    const CAutoConfigDlgModel model = Make({IDC_AUTO_OPERA, IDC_AUTO_KAZAA});
    for (const auto& program : CAutoConfigDlgModel::Programs()) {
        SCOPED_TRACE(program.name);
        const bool usable = program.box == IDC_AUTO_IE || program.box == IDC_AUTO_OPERA ||
                            program.box == IDC_AUTO_KAZAA;
        EXPECT_EQ(model.GetBox(program.box).enabled, usable);
        EXPECT_EQ(model.GetBox(program.box).checked, usable);
    }
}

TEST_F(AutoConfigDlgModelTest, ApplyReadsEveryBoxIntoTheWorkingCopyAndHandsItOn) {
    CAutoConfigDlgModel model = Make({IDC_AUTO_MSN});
    model.OnBoxClicked(IDC_AUTO_IE, false);
    EXPECT_EQ(host_.modified.back(), std::make_pair(true, 0));
    EXPECT_TRUE(host_.settings.getSysConfig()->getAutoIE()) << "a click alone changes no setting";
    model.Apply();
    const CSysConfig& sys = *host_.settings.getSysConfig();
    EXPECT_FALSE(sys.getAutoIE());
    EXPECT_TRUE(sys.getAutoMSN());
    EXPECT_FALSE(sys.getAutoNetscape()) << "a program that is not installed is not chosen";
    EXPECT_FALSE(sys.getAutoEDonkey());
    EXPECT_EQ(host_.applies, 1);
}

TEST_F(AutoConfigDlgModelTest, ClosingWithoutApplyKeepsTheBoxesOutOfTheSettings) {
    CAutoConfigDlgModel model = Make({});
    model.OnBoxClicked(IDC_AUTO_IE, false);
    EXPECT_TRUE(host_.settings.getSysConfig()->getAutoIE());
    EXPECT_EQ(host_.applies, 0);
    EXPECT_FALSE(host_.modified.empty()) << "the main window is marked modified all the same";
}

TEST_F(AutoConfigDlgModelTest, BackupEnablesRestore) {
    CAutoConfigDlgModel model = Make({});
    EXPECT_FALSE(model.IsRestoreEnabled());
    model.Backup();
    EXPECT_TRUE(model.IsRestoreEnabled());
    model.Restore();
}

TEST_F(AutoConfigDlgModelTest, TheEnginesInstalledTestKnowsNoEDonkeyAndAlwaysInternetExplorer) {
    EXPECT_TRUE(CAutoConfigDlgModel::IsProgramInstalled(IDC_AUTO_IE));
    EXPECT_FALSE(CAutoConfigDlgModel::IsProgramInstalled(IDC_AUTO_EDONKEY));
    EXPECT_FALSE(CAutoConfigDlgModel::IsProgramInstalled(IDC_AUTO_NETSCAPE)) << "an empty root has none";
}

}  // namespace
