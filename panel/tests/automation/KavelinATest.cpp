#include <gtest/gtest.h>

#include <vector>

#include "FakeEngineHost.h"
#include "panel/automation/KavelinA.h"
#include "panel/main/CBaseDlg.h"
#include "panel/main/CPageMakers.h"

namespace {

struct GetterCase {
    const char* name;
    platform::HRESULT (KavelinA::*getter)();
    int templateId;
};

const GetterCase kGetters[] = {
    {"getGeneralDlg", &KavelinA::getGeneralDlg, 551},
    {"getAdvPrivDlg", &KavelinA::getAdvPrivDlg, 138},
    {"getActivChainDlg", &KavelinA::getActivChainDlg, 143},
    {"getActivFilterDlg", &KavelinA::getActivFilterDlg, 147},
    {"getActivProgDlg", &KavelinA::getActivProgDlg, 141},
    {"getAdvCleanerIexplorerDlg", &KavelinA::getAdvCleanerIexplorerDlg, 151},
    {"getAdvCleanerSystemDlg", &KavelinA::getAdvCleanerSystemDlg, 150},
    {"getAdvFltrInDlg", &KavelinA::getAdvFltrInDlg, 145},
    {"getAdvFltrOutDlg", &KavelinA::getAdvFltrOutDlg, 144},
    {"getProxyAnalyzerDlg", &KavelinA::getProxyAnalyzerDlg, 550},
    {"getProxyCaptureDlg", &KavelinA::getProxyCaptureDlg, 148},
};

// Page objects need the toolkit; here the makers only note what they were
// asked for and make nothing, as when a page cannot be made.
TEST(KavelinATest, EachGetterAsksForItsPageAndSucceedsEvenWhenNoneIsMade) {
    autotest::RecordingHost host;
    std::vector<int> asked;
    std::vector<CPageMakers::Maker> previous;
    for (const GetterCase& c : kGetters) {
        previous.push_back(CPageMakers::Set(c.templateId, [&asked, id = c.templateId](CServerHost&) {
            asked.push_back(id);
            return std::unique_ptr<CBaseDlg>();
        }));
    }

    KavelinA factory(host);
    for (const GetterCase& c : kGetters) {
        SCOPED_TRACE(c.name);
        asked.clear();
        EXPECT_EQ(platform::S_OK, (factory.*c.getter)());
        EXPECT_EQ(std::vector<int>{c.templateId}, asked);
        EXPECT_EQ(nullptr, host.TakeMadePage());
    }

    for (std::size_t i = 0; i < std::size(kGetters); ++i) CPageMakers::Set(kGetters[i].templateId, previous[i]);
}

}  // namespace
