#include <gtest/gtest.h>

#include "FakePageHost.h"
#include "panel/pages/CHunterDlgModel.h"
#include "panel/pages/GeneralPageIds.h"
#include "relay/analyzer/CProxyConfig.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

using pagetest::FakeRows;
using Proxies = std::vector<std::pair<std::string, int>>;

// Records the page's log when the hunter is told to stop.
class RecordingHunter : public pagetest::FakeWorker {
public:
    const CHunterDlgModel* model = nullptr;
    std::string logAtStop;
    bool Stop() override {
        if (model) logAtStop = model->GetState().log;
        return FakeWorker::Stop();
    }
};

class HunterDlgModelTest : public kvtest::RootedTest {
protected:
    CHunterDlgModel Make() {
        return CHunterDlgModel({hunter_, bridge_, pool_, [this] { return source_; },
                                [this] { return connected_; }},
                               page_.hwnd());
    }

    RecordingHunter hunter_;
    CProxyConfig bridge_;
    pagetest::FakePool pool_;
    pagetest::PageWindow page_;
    eUrlSource source_ = eUserURL;
    bool connected_ = true;
};

TEST_F(HunterDlgModelTest, AWebSourceNeedsAConnectionButALocalFileDoesNot) {
    connected_ = false;
    {
        kvtest::MessageBoxRecorder boxes;
        CHunterDlgModel model = Make();
        model.Init();
        model.OnStartStop();
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text,
                  "No InternetConnection found!\r\nPlease make sure that you are connected to the Internet");
        EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin");
        EXPECT_EQ(hunter_.starts, 0);
    }
    source_ = eLocalFile;
    kvtest::MessageBoxRecorder boxes;
    CHunterDlgModel model = Make();
    model.Init();
    model.OnStartStop();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(hunter_.starts, 1);
    EXPECT_TRUE(model.GetState().runningLook);
    EXPECT_FALSE(model.GetState().toolsEnabled);
    EXPECT_EQ(model.GetState().startImage, IDR_STOP);
    EXPECT_EQ(bridge_.GetWindow(), page_.hwnd());
}

TEST_F(HunterDlgModelTest, AThreadThatDoesNotRunKeepsTheStoppedLook) {
    hunter_.startRuns = false;
    CHunterDlgModel model = Make();
    model.Init();
    model.OnStartStop();
    EXPECT_EQ(hunter_.starts, 1);
    EXPECT_FALSE(model.GetState().runningLook);
    EXPECT_EQ(model.GetState().startDisabledImage, IDR_START_DISABLED);
}

TEST_F(HunterDlgModelTest, TheUserStopLineIsInTheLogBeforeTheHunterIsToldToStop) {
    CHunterDlgModel model = Make();
    hunter_.model = &model;
    model.Init();
    model.OnStartStop();
    model.OnStartStop();
    EXPECT_EQ(hunter_.logAtStop, "\r\n---User has stopped hunting-----\r\n\r\n");
    EXPECT_TRUE(bridge_.getShouldStop());
    EXPECT_FALSE(model.GetState().runningLook);
}

TEST_F(HunterDlgModelTest, NoticesShowTheLogTheRunningLookAndTheEnd) {
    bridge_.AttachWindow(page_.hwnd());
    bridge_.AddToLog("Hunting https://example.invalid/");
    hunter_.running = true;
    CHunterDlgModel model = Make();
    model.Init();
    EXPECT_TRUE(model.GetState().runningLook) << "a new page of a running hunt shows it running";
    EXPECT_EQ(model.GetState().log, "Hunting https://example.invalid/\r\n");
    model.OnEnd();
    EXPECT_EQ(model.GetState().log, "Hunting https://example.invalid/\r\nProxy Hunting Operation Done!.\r\n");
    EXPECT_FALSE(model.GetState().runningLook);
    hunter_.running = true;
    model.OnLog();
    EXPECT_TRUE(model.GetState().runningLook);
    EXPECT_EQ(model.GetState().log, "Hunting https://example.invalid/\r\n");
    model.Destroy();
    EXPECT_EQ(bridge_.GetWindow(), platform::HWND());
}

TEST_F(HunterDlgModelTest, DeletingRemovesFoundProxiesFromThePoolAndRowsWithoutAnAddressFromTheViewOnly) {
    FakeRows rows;
    rows.rows = {{"1.2.3.4", "80", true}, {"", "81", true}, {"7.7.7.7", "8080", false}, {"5.6.7.8", "1080", true}};
    CHunterDlgModel model = Make();
    model.OnDeleteProxy(rows);
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0].address, "7.7.7.7");
    EXPECT_EQ(pool_.removedNow, (Proxies{{"1.2.3.4", 80}, {"5.6.7.8", 1080}}));
}

}  // namespace
