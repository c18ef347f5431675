#include <gtest/gtest.h>

#include "FakePageHost.h"
#include "panel/pages/CAnalyzerDlgModel.h"
#include "panel/pages/GeneralPageIds.h"
#include "relay/analyzer/CAnalyzerConfig.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempRoot.h"

namespace {

class AnalyzerDlgModelTest : public kvtest::RootedTest {
protected:
    CAnalyzerDlgModel Make() {
        return CAnalyzerDlgModel(worker_, config_, page_.hwnd(), [this] { return connected_; });
    }

    pagetest::FakeWorker worker_;
    CAnalyzerConfig config_;
    pagetest::PageWindow page_;
    bool connected_ = true;
};

TEST_F(AnalyzerDlgModelTest, AStoppedAnalyzerShowsTheStartPictureAndAnEmptyLog) {
    CAnalyzerDlgModel model = Make();
    model.Init();
    EXPECT_EQ(config_.GetProxyConfig().GetWindow(), page_.hwnd());
    EXPECT_EQ(model.GetState().timeOut, "5000");
    EXPECT_EQ(model.GetState().image, IDR_START);
    EXPECT_EQ(model.GetState().log, "");
    model.Destroy();
    EXPECT_EQ(config_.GetProxyConfig().GetWindow(), platform::HWND());
}

TEST_F(AnalyzerDlgModelTest, ANewPageOfARunningAnalyzerShowsTheLogSoFar) {
    config_.GetProxyConfig().AttachWindow(page_.hwnd());
    config_.GetProxyConfig().AddToLog("checked 1.2.3.4");
    worker_.running = true;
    CAnalyzerDlgModel model = Make();
    model.Init();
    EXPECT_EQ(model.GetState().image, IDR_STOP);
    EXPECT_EQ(model.GetState().log, "checked 1.2.3.4\r\n");
}

TEST_F(AnalyzerDlgModelTest, WithoutAConnectionTheAnalyzerStaysStopped) {
    connected_ = false;
    kvtest::MessageBoxRecorder boxes;
    CAnalyzerDlgModel model = Make();
    model.Init();
    model.OnStartStop();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "No Internet Connection found!\r\nPlease make sure that you are connected to the Internet");
    EXPECT_EQ(boxes.boxes()[0].caption, "Kavelin");
    EXPECT_EQ(worker_.starts, 0);
    EXPECT_EQ(model.GetState().image, IDR_START);
}

TEST_F(AnalyzerDlgModelTest, StartTakesTheTimeOutTheAnalyzerKeeps) {
    const std::pair<const char*, const char*> cases[] = {
        {"100", "2000"}, {"4500", "4500"}, {"999999", "10000"}, {"x", "2000"}};
    for (auto [typed, kept] : cases) {
        SCOPED_TRACE(typed);
        pagetest::FakeWorker worker;
        CAnalyzerDlgModel model(worker, config_, page_.hwnd(), [] { return true; });
        model.Init();
        model.OnTimeOutChanged(typed);
        EXPECT_EQ(config_.getTimeOut(), CAnalyzerConfig::kMinTimeOut) << "typing changes nothing yet";
        model.OnStartStop();
        EXPECT_EQ(model.GetState().timeOut, kept);
        EXPECT_EQ(config_.getTimeOut(), std::stoi(kept));
        EXPECT_EQ(model.GetState().log, "Start Analyzing");
        EXPECT_EQ(model.GetState().image, IDR_STOP);
        EXPECT_EQ(worker.starts, 1);
        config_.setTimeOut(CAnalyzerConfig::kMinTimeOut);
    }
}

TEST_F(AnalyzerDlgModelTest, StoppingOnlyAsksTheRunToEndAndTheEndNoticeShowsItStopped) {
    CAnalyzerDlgModel model = Make();
    model.Init();
    model.OnStartStop();
    ASSERT_TRUE(worker_.running);
    model.OnStartStop();
    EXPECT_TRUE(config_.GetProxyConfig().getShouldStop());
    EXPECT_EQ(worker_.stops, 1);
    EXPECT_EQ(model.GetState().image, IDR_STOP) << "the picture waits for the end notice";
    model.OnEnd();
    EXPECT_EQ(model.GetState().image, IDR_START);
    EXPECT_EQ(worker_.resets, 1);
}

}  // namespace
