#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FakeEngine.h"
#include "platform/Process.h"
#include "support/MessagePump.h"
#include "support/TempRoot.h"
#include "toolbar/BandMessages.h"
#include "toolbar/CKVToolBarModel.h"
#include "toolbar/ToolBarIds.h"
#include "toolbar/ToolBarLayout.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace toolbar_ids;
using tbtest::FakeEngine;
using Bytes = std::vector<std::uint8_t>;

const Bytes kQueries = {0, 10, 0, 11, 0, 12, 0, 3};
constexpr int kPumpLimitMs = 5000;

Bytes Status(std::uint8_t value) { return {13, value, 0, 0, 0}; }
Bytes Received(std::uint32_t total) {
    return {14, std::uint8_t(total), std::uint8_t(total >> 8), std::uint8_t(total >> 16), std::uint8_t(total >> 24)};
}
Bytes Sent(std::uint32_t total) {
    Bytes b = Received(total);
    b[0] = 15;
    return b;
}

TEST(ToolBarTextTest, TotalsReadInBytesKilobytesAndMegabytes) {
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        {0, "0.0 B"},         {1024, "1024.0 B"},        {1025, "1.0 KB"},        {1536, "1.5 KB"},
        {1048576, "1024.0 KB"}, {1048577, "1.0 MB"}, {0xFFFFFFFFu, "4096.0 MB"},
    };
    for (const auto& [total, text] : cases) EXPECT_EQ(CKVToolBarModel::TotalText(total), text) << total;
}

TEST(ToolBarTextTest, AnimationCountersMapToFramePictures) {
    EXPECT_EQ(CKVToolBarModel::FramePicture(0), 329);
    EXPECT_EQ(CKVToolBarModel::FramePicture(9), 338);
    EXPECT_EQ(CKVToolBarModel::FramePicture(10), 328);
}

TEST(ToolBarLayoutTest, ItemsFollowEachOtherFromTheOrigin) {
    struct Expected {
        int id;
        int x;
        int y;
        int width;
        int height;
    };
    // Origin (10, 0): separators keep 4 px on each side; labels sit 7 px
    // lower and end at y 20, everything else at y 22.
    const std::vector<Expected> expected = {
        {kCmdLogo, 10, 0, 81, 22},          {kEngineStart, 91, 0, 24, 22},   {kSeparator1, 119, 0, 3, 22},
        {kIncomingOn, 126, 0, 85, 22},      {kSeparator2, 215, 0, 3, 22},    {kOutgoingOn, 222, 0, 93, 22},
        {kSeparator3, 319, 0, 3, 22},       {kPrivacyOn, 326, 0, 58, 22},    {kSeparator4, 388, 0, 3, 22},
        {kCmdReceivedIcon, 395, 0, 63, 22}, {kCmdReceivedAnimation, 458, 0, 51, 22},
        {kReceivedLabel, 509, 7, 40, 13},   {kCmdSentIcon, 549, 0, 63, 22},  {kCmdSentAnimation, 612, 0, 51, 22},
        {kSentLabel, 663, 7, 40, 13},
    };
    const auto items = ToolBarLayout(10, 0, CKVDeskInfo{});
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].id, expected[i].id) << i;
        EXPECT_EQ(items[i].x, expected[i].x) << i;
        EXPECT_EQ(items[i].y, expected[i].y) << i;
        EXPECT_EQ(items[i].width, expected[i].width) << i;
        EXPECT_EQ(items[i].height, expected[i].height) << i;
    }
    EXPECT_EQ(items[1].altId, kEngineStop);
    EXPECT_EQ(items[1].command, kCmdEngine);
}

// Labels that need more than 40 x 13 to show "4096.0 MB" grow to the right
// and upwards from their bottom line; what follows a label moves on.
TEST(ToolBarLayoutTest, TotalsLabelsGrowToWhatTheirTextNeeds) {
    const auto fitted = ToolBarLayout(10, 0, CKVDeskInfo{}, ToolBarLabelSize{58, 15});
    const auto spec = ToolBarLayout(10, 0, CKVDeskInfo{});
    ASSERT_EQ(fitted.size(), spec.size());
    const auto at = [](const std::vector<ToolBarItem>& items, int id) {
        return *std::find_if(items.begin(), items.end(), [id](const ToolBarItem& item) { return item.id == id; });
    };
    const ToolBarItem received = at(fitted, kReceivedLabel);
    EXPECT_EQ(received.x, at(spec, kReceivedLabel).x);
    EXPECT_EQ(received.width, 58);
    EXPECT_EQ(received.y, 5);
    EXPECT_EQ(received.y + received.height, 20) << "the bottom line stays";
    EXPECT_EQ(at(fitted, kCmdSentIcon).x, at(spec, kCmdSentIcon).x + 18);
    EXPECT_EQ(at(fitted, kSentLabel).width, 58);
    // Smaller needs keep the table's size.
    const auto small = ToolBarLayout(10, 0, CKVDeskInfo{}, ToolBarLabelSize{20, 9});
    EXPECT_EQ(at(small, kSentLabel).x, at(spec, kSentLabel).x);
    EXPECT_EQ(at(small, kSentLabel).width, 40);
    EXPECT_EQ(at(small, kSentLabel).y, 7);
}

TEST(ToolBarLayoutTest, SwitchesAppearOnlyWhenOffered) {
    CKVDeskInfo info;
    info.mEnableFilterSwitches = false;
    info.mEnablePrivacySwitch = false;
    const auto items = ToolBarLayout(0, 2, info);
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[2].id, kSeparator1);
    EXPECT_EQ(items[3].id, kCmdReceivedIcon);
    EXPECT_EQ(items[3].x, 81 + 24 + 11);
    EXPECT_EQ(items[3].height, 20);
    EXPECT_EQ(items[5].y, 9);
}

// A toolbar model on the test thread with the real client talking to a
// fake engine on loopback.
class ToolBarModelTest : public kvtest::RootedTest {
protected:
    // The client looks for a panel of a name of this test's own, so a
    // control panel running elsewhere on the machine changes nothing here.
    ToolBarModelTest() {
        setenv("KAVELIN_TOOLBAR_PORT", std::to_string(engine_.port()).c_str(), 1);
        client_->SetPanelProgram(root() / "panel", PanelName());
    }
    ~ToolBarModelTest() override {
        models_.clear();
        client_.reset();
        for (const platform::DWORD id : started_) ::kill(static_cast<pid_t>(id), SIGKILL);
        unsetenv("KAVELIN_TOOLBAR_PORT");
        unsetenv("KVTEST_PANEL_MARKER");
    }

    CKVToolBarModel& AddToolBar() {
        models_.push_back(std::make_unique<CKVToolBarModel>(*client_));
        CKVToolBarModel& model = *models_.back();
        model.SetChangeHandler([this] { ++changes_; });
        EXPECT_TRUE(model.Attach());
        return model;
    }

    // A new connection and its queries.
    void AcceptWithQueries() {
        ASSERT_TRUE(engine_.Accept());
        EXPECT_TRUE(tbtest::ReadsStateQueries(engine_));
        // The link-lost of the attempt was posted before the connection.
        kvtest::PumpFor(1);
    }

    // One toolbar, connected, its queries read.
    CKVToolBarModel& Connected() {
        CKVToolBarModel& model = AddToolBar();
        AcceptWithQueries();
        return model;
    }

    void Notice(const Bytes& notice) {
        const int before = changes_;
        ASSERT_TRUE(engine_.Send(notice));
        ASSERT_TRUE(kvtest::PumpUntil([&] { return changes_ > before; }, kPumpLimitMs));
        // And what the toolbar posted itself on the way.
        kvtest::PumpFor(5);
    }

    void Click(CKVToolBarModel& model, int command) {
        ASSERT_TRUE(platform::PostMessage(model.hwnd(), WM_BAND_BUTTON, command, 0));
        kvtest::PumpFor(20);
    }

    static std::string PanelName() { return "kvbar" + std::to_string(::getpid()); }

    // The panel stand-in, under the given name, where the client looks.
    fs::path PanelProgram(const std::string& name = PanelName()) {
        const fs::path folder = root() / "panel";
        fs::create_directories(folder);
        const fs::path program = folder / name;
        fs::copy_file(KV_PANEL_STUB, program, fs::copy_options::overwrite_existing);
        setenv("KVTEST_PANEL_MARKER", (root() / "marker").c_str(), 1);
        return program;
    }

    FakeEngine engine_;
    std::unique_ptr<CToolbarClnt> client_ = std::make_unique<CToolbarClnt>();
    std::vector<std::unique_ptr<CKVToolBarModel>> models_;
    std::vector<platform::DWORD> started_;
    int changes_ = 0;
};

TEST_F(ToolBarModelTest, NoticesDriveTheShownState) {
    CKVToolBarModel& model = Connected();
    EXPECT_FALSE(model.connected());  // no control panel runs
    struct Step {
        std::uint8_t status;
        bool connected;
        int running, incoming, outgoing, privacy;
    };
    const std::vector<Step> steps = {
        {0, true, 1, 0, 0, 0},  {5, true, 1, 0, 1, 0},  {7, true, 1, 1, 1, 0},  {9, true, 1, 1, 1, 1},
        {6, true, 1, 1, 0, 1},  {8, true, 1, 0, 0, 1},  {10, true, 1, 0, 0, 0}, {9, true, 1, 0, 0, 1},
        {1, true, 0, 0, 0, 1},  {0, true, 1, 0, 0, 1},  {4, false, 0, 0, 0, 0},
    };
    for (const Step& s : steps) {
        Notice(Status(s.status));
        EXPECT_EQ(model.connected(), s.connected) << int(s.status);
        EXPECT_EQ(model.running(), s.running) << int(s.status);
        EXPECT_EQ(model.incoming(), s.incoming) << int(s.status);
        EXPECT_EQ(model.outgoing(), s.outgoing) << int(s.status);
        EXPECT_EQ(model.privacy(), s.privacy) << int(s.status);
    }
    const int before = changes_;
    ASSERT_TRUE(engine_.Send(Status(3)));
    ASSERT_TRUE(engine_.Send(Status(11)));
    kvtest::PumpFor(50);
    EXPECT_EQ(changes_, before);
}

TEST_F(ToolBarModelTest, TotalsShowOnlyWhileConnected) {
    CKVToolBarModel& model = Connected();
    EXPECT_EQ(model.ReceivedText(), "");
    ASSERT_TRUE(engine_.Send(Received(5000)));  // the panel check said not connected
    kvtest::PumpFor(50);
    EXPECT_EQ(model.ReceivedText(), "");
    Notice(Status(0));
    Notice(Received(1048577));
    Notice(Sent(1024));
    EXPECT_EQ(model.ReceivedText(), "1.0 MB");
    EXPECT_EQ(model.SentText(), "1024.0 B");
    Notice(Status(4));
    ASSERT_TRUE(engine_.Send(Received(7)));
    ASSERT_TRUE(engine_.Send(Sent(7)));
    kvtest::PumpFor(50);
    EXPECT_EQ(model.ReceivedText(), "1.0 MB");
    EXPECT_EQ(model.SentText(), "1024.0 B");
}

TEST_F(ToolBarModelTest, AnimationsStepByTheirOwnCountersAndStopRewindsThem) {
    CKVToolBarModel& model = Connected();
    EXPECT_EQ(model.ReceivedFrame(), 329);
    EXPECT_EQ(model.SentFrame(), 329);
    Notice(Status(0));
    std::vector<int> frames;
    for (int i = 0; i < 11; ++i) {
        Notice(Received(100 + i));
        frames.push_back(model.ReceivedFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{330, 331, 332, 333, 334, 335, 336, 337, 338, 328, 329}));
    EXPECT_EQ(model.SentFrame(), 329);
    Notice(Sent(1));
    EXPECT_EQ(model.SentFrame(), 330);
    // Stopped: the totals it posts to itself read zero and show frame 329.
    ASSERT_TRUE(engine_.Send(Status(1)));
    ASSERT_TRUE(kvtest::PumpUntil([&] { return model.SentText() == "0.0 B" && model.ReceivedText() == "0.0 B"; },
                                  kPumpLimitMs));
    EXPECT_EQ(model.ReceivedFrame(), 329);
    EXPECT_EQ(model.SentFrame(), 329);
}

TEST_F(ToolBarModelTest, ButtonsAskForTheOppositeOfWhatIsShown) {
    CKVToolBarModel& model = Connected();
    Click(model, kCmdIncoming);
    Click(model, kCmdOutgoing);
    Click(model, kCmdPrivacy);
    EXPECT_EQ(engine_.Read(6), (Bytes{0, 6, 0, 4, 0, 8}));
    // Nothing changes until the engine answers.
    EXPECT_EQ(model.incoming(), 0);
    Click(model, kCmdIncoming);
    EXPECT_EQ(engine_.Read(2), (Bytes{0, 6}));
    for (const std::uint8_t status : {0, 7, 5, 9}) Notice(Status(status));
    for (const int command : {kCmdIncoming, kCmdOutgoing, kCmdPrivacy, kCmdEngine}) Click(model, command);
    EXPECT_EQ(engine_.Read(8), (Bytes{0, 7, 0, 5, 0, 9, 0, 1}));
    // Icons, animations, separators and the logo send nothing.
    int logo = 0;
    model.SetLogoHandler([&] { ++logo; });
    for (const int command : {kCmdLogo, kCmdReceivedIcon, kCmdSentAnimation, kSeparator2}) Click(model, command);
    EXPECT_EQ(logo, 1);
    EXPECT_TRUE(engine_.Read(1, 100ms).empty());
}

TEST_F(ToolBarModelTest, EngineButtonStartsAMissingPanelAndSendsNothingUntilReconnected) {
    const fs::path program = PanelProgram();
    client_->SetPanelProgram(program.parent_path(), program.filename().string());
    CKVToolBarModel& model = Connected();
    Click(model, kCmdEngine);
    for (const auto& p : platform::ProcessSnapshot()) {
        if (p.exeFile == program.filename().string()) started_.push_back(p.id);
    }
    ASSERT_FALSE(started_.empty());
    EXPECT_TRUE(engine_.SeesClose());
    ASSERT_TRUE(engine_.Accept());
    EXPECT_EQ(engine_.Read(kQueries.size()), kQueries);
    EXPECT_TRUE(engine_.Read(1, 100ms).empty());
    // Now a panel runs: the next click asks it to start the engine.
    Click(model, kCmdEngine);
    EXPECT_EQ(engine_.Read(2), (Bytes{0, 2}));
}

// Only a process of the client's own panel program counts as a running
// control panel.
TEST_F(ToolBarModelTest, AProcessOfAnotherNameIsNoRunningPanel) {
    const fs::path other = PanelProgram("KVDesk");
    const platform::Process process = platform::StartProcess(other.string(), {}, other.parent_path());
    ASSERT_TRUE(process.IsValid());
    started_.push_back(process.id());
    ASSERT_TRUE(kvtest::PumpUntil([&] { return fs::exists(root() / "marker"); }, kPumpLimitMs));
    EXPECT_FALSE(client_->IsPanelRunning());
    CKVToolBarModel& model = Connected();
    EXPECT_FALSE(model.connected());
    Click(model, kCmdEngine);
    EXPECT_TRUE(engine_.Read(2, 100ms).empty()) << "no start request to a panel that is not there";
}

TEST_F(ToolBarModelTest, TheLastToolBarToCloseStopsTheSharedClient) {
    AddToolBar();
    AcceptWithQueries();
    AddToolBar();
    EXPECT_EQ(engine_.Read(kQueries.size()), kQueries);  // the second window's queries
    EXPECT_EQ(CKVToolBarModel::LiveToolBars(), 2);
    models_.front().reset();
    EXPECT_TRUE(client_->IsRunning());
    EXPECT_FALSE(engine_.SeesClose(100ms));
    models_.back().reset();
    EXPECT_FALSE(client_->IsRunning());
    EXPECT_TRUE(engine_.SeesClose());
    EXPECT_EQ(CKVToolBarModel::LiveToolBars(), 0);
}

TEST_F(ToolBarModelTest, AStoppedClientIsStartedAgainByTheNextToolBar) {
    AddToolBar();
    AcceptWithQueries();
    client_->Stop();
    EXPECT_TRUE(engine_.SeesClose());
    AddToolBar();
    AcceptWithQueries();
    EXPECT_TRUE(client_->IsRunning());
}

}  // namespace
