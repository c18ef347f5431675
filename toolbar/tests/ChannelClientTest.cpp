#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "FakeEngine.h"
#include "engine/RecordingView.h"
#include "platform/Process.h"
#include "support/TempRoot.h"
#include "toolbar/BandMessages.h"
#include "toolbar/CToolbarClnt.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using srvtest::RecordingView;
using srvtest::ViewMessage;
using tbtest::FakeEngine;
using Bytes = std::vector<std::uint8_t>;

const Bytes kQueries = {0, 10, 0, 11, 0, 12, 0, 3};

// Messages other than link-lost, which every connection attempt posts.
std::vector<ViewMessage> Notices(const RecordingView& view) {
    std::vector<ViewMessage> kept;
    for (const ViewMessage& m : view.Messages()) {
        if (!(m.message == WM_BAND_STATUS && m.wParam == BAND_STATUS_LINK_LOST)) kept.push_back(m);
    }
    return kept;
}

int CountStatus(const RecordingView& view, platform::WPARAM value) {
    int n = 0;
    for (const ViewMessage& m : view.Messages()) n += m.message == WM_BAND_STATUS && m.wParam == value;
    return n;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = tbtest::kLimit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class ChannelClientTest : public kvtest::RootedTest {
protected:
    ChannelClientTest() { setenv("KAVELIN_TOOLBAR_PORT", std::to_string(engine_.port()).c_str(), 1); }
    ~ChannelClientTest() override {
        client_.reset();
        for (const platform::DWORD id : started_) ::kill(static_cast<pid_t>(id), SIGKILL);
        unsetenv("KAVELIN_TOOLBAR_PORT");
        unsetenv("KVTEST_PANEL_MARKER");
    }

    // Starts the client and takes its connection with the four queries.
    void Connect() {
        ASSERT_TRUE(client_->Start());
        ASSERT_TRUE(engine_.Accept());
        ASSERT_EQ(engine_.Read(kQueries.size()), kQueries);
    }

    // A copy of the panel stand-in under a name no other test uses, in a
    // folder whose name holds a space.
    fs::path PanelProgram() {
        const fs::path folder = root() / "panel dir";
        fs::create_directories(folder);
        const fs::path program = folder / ("kvpanel" + std::to_string(::getpid()));
        fs::copy_file(KV_PANEL_STUB, program, fs::copy_options::overwrite_existing);
        setenv("KVTEST_PANEL_MARKER", (root() / "marker").c_str(), 1);
        return program;
    }

    // Remembers the running processes of that program so the test ends them.
    void EndLater(const fs::path& program) {
        for (const auto& p : platform::ProcessSnapshot()) {
            if (p.exeFile == program.filename().string()) started_.push_back(p.id);
        }
    }

    FakeEngine engine_;
    RecordingView first_;
    RecordingView second_;
    std::unique_ptr<CToolbarClnt> client_ = std::make_unique<CToolbarClnt>();
    std::vector<platform::DWORD> started_;
};

TEST_F(ChannelClientTest, PostsEachNoticeToEveryWindowAndReassemblesSplitNotices) {
    client_->AddWindow(first_.hwnd());
    client_->AddWindow(second_.hwnd());
    Connect();
    // Status 0x105 counts by its low byte; type 16 is no notice; the totals
    // come in pieces, the second with the start of the third.
    ASSERT_TRUE(engine_.Send({13, 0x05, 0x01, 0, 0, 16, 1, 2, 3, 4, 14, 4, 3}));
    std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(engine_.Send({2, 1, 15, 0xFF, 0, 0}));
    std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(engine_.Send({0}));
    const std::vector<std::pair<platform::UINT, platform::WPARAM>> expected = {
        {WM_BAND_STATUS, 5}, {WM_BAND_DATA_IN, 0x01020304}, {WM_BAND_DATA_OUT, 0xFF}};
    for (const RecordingView* view : {&first_, &second_}) {
        ASSERT_TRUE(view->WaitFor(WM_BAND_DATA_OUT, 1, tbtest::kLimit));
        std::vector<std::pair<platform::UINT, platform::WPARAM>> got;
        for (const ViewMessage& m : Notices(*view)) got.emplace_back(m.message, m.wParam);
        EXPECT_EQ(got, expected);
    }
}

TEST_F(ChannelClientTest, WindowAddedWhileConnectedQueriesAgainAndRemovedWindowGetsNothing) {
    client_->AddWindow(first_.hwnd());
    Connect();
    client_->AddWindow(second_.hwnd());
    EXPECT_EQ(engine_.Read(kQueries.size()), kQueries);
    client_->RemoveWindow(first_.hwnd());
    ASSERT_TRUE(engine_.Send({13, 0, 0, 0, 0}));
    ASSERT_TRUE(WaitUntil([&] { return CountStatus(second_, 0) == 1; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(CountStatus(first_, 0), 0);
}

TEST_F(ChannelClientTest, EachRequestIsOneTwoByteRecordAndNothingIsSentWhileDisconnected) {
    const std::vector<std::pair<std::function<int(CToolbarClnt&)>, std::uint8_t>> requests = {
        {[](CToolbarClnt& c) { return c.StopServer(); }, 1},
        {[](CToolbarClnt& c) { return c.QueryServerState(); }, 3},
        {[](CToolbarClnt& c) { return c.OutFilter(true); }, 4},
        {[](CToolbarClnt& c) { return c.OutFilter(false); }, 5},
        {[](CToolbarClnt& c) { return c.InFilter(true); }, 6},
        {[](CToolbarClnt& c) { return c.InFilter(false); }, 7},
        {[](CToolbarClnt& c) { return c.PrivacyChain(true); }, 8},
        {[](CToolbarClnt& c) { return c.PrivacyChain(false); }, 9},
        {[](CToolbarClnt& c) { return c.QueryInFilter(); }, 10},
        {[](CToolbarClnt& c) { return c.QueryOutFilter(); }, 11},
        {[](CToolbarClnt& c) { return c.QueryPrivacy(); }, 12},
    };
    for (const auto& [send, command] : requests) EXPECT_EQ(send(*client_), 0) << int(command);
    Connect();
    for (const auto& [send, command] : requests) {
        EXPECT_EQ(send(*client_), 2);
        EXPECT_EQ(engine_.Read(2), (Bytes{0, command}));
    }
}

TEST_F(ChannelClientTest, ReconnectsAtOnceWhenTheEngineCloses) {
    client_->AddWindow(first_.hwnd());
    Connect();
    const int lost = CountStatus(first_, BAND_STATUS_LINK_LOST);
    engine_.CloseConnection();
    // Well inside the pause between failed attempts.
    ASSERT_TRUE(engine_.Accept(1500ms));
    EXPECT_EQ(engine_.Read(kQueries.size()), kQueries);
    EXPECT_TRUE(WaitUntil([&] { return CountStatus(first_, BAND_STATUS_LINK_LOST) > lost; }));
}

TEST_F(ChannelClientTest, EngineDownGivesLinkLostOnEveryAttemptAndStopEndsTheWait) {
    engine_.CloseListener();
    client_->AddWindow(first_.hwnd());
    ASSERT_TRUE(client_->Start());
    EXPECT_TRUE(WaitUntil([&] { return CountStatus(first_, BAND_STATUS_LINK_LOST) >= 2; }));
    EXPECT_EQ(client_->QueryServerState(), 0);
    EXPECT_TRUE(client_->Stop());
    EXPECT_FALSE(client_->IsRunning());
    EXPECT_TRUE(Notices(first_).empty());
}

TEST_F(ChannelClientTest, StopClosesTheConnectionAndStartConnectsAgain) {
    Connect();
    EXPECT_TRUE(client_->IsRunning());
    EXPECT_TRUE(client_->Stop());
    EXPECT_FALSE(client_->IsRunning());
    EXPECT_TRUE(engine_.SeesClose());
    Connect();
}

TEST_F(ChannelClientTest, LaunchStartsThePanelWhenNoneRunsAndConnectsAfresh) {
    const fs::path program = PanelProgram();
    client_->SetPanelProgram(program.parent_path(), program.filename().string());
    Connect();
    EXPECT_FALSE(client_->IsPanelRunning());
    EXPECT_EQ(client_->Launch(), 0);
    EndLater(program);
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(root() / "marker"); }));
    EXPECT_TRUE(client_->IsPanelRunning());
    EXPECT_TRUE(engine_.SeesClose());
    ASSERT_TRUE(engine_.Accept());
    EXPECT_EQ(engine_.Read(kQueries.size()), kQueries);
}

TEST_F(ChannelClientTest, LaunchAsksARunningPanelToStartTheEngine) {
    const fs::path program = PanelProgram();
    client_->SetPanelProgram(program.parent_path(), program.filename().string());
    // Started as given: the path and each argument stay whole.
    const platform::Process panel = platform::StartProcess(program.string(), {"two words", "x"});
    ASSERT_TRUE(panel.IsValid());
    started_.push_back(panel.id());
    ASSERT_TRUE(WaitUntil([&] { return kvtest::ReadFile(root() / "marker") == "two words\nx\n"; }));
    EXPECT_EQ(platform::WaitForInputIdle(panel, 5000), platform::WAIT_OBJECT_0);

    EXPECT_EQ(client_->Launch(), 0);  // disconnected: nothing is sent
    Connect();
    EXPECT_EQ(client_->Launch(), 2);
    EXPECT_EQ(engine_.Read(2), (Bytes{0, 2}));
}

TEST(ProcessStartTest, LooksInTheStarterFolderThenPathAndNeverTheCurrentFolder) {
    kvtest::TempRoot root;
    const fs::path here = root.path() / "here";
    const fs::path starter = root.path() / "starter";
    fs::create_directories(here);
    fs::create_directories(starter);
    for (const fs::path& file : {here / "kvonlyhere", starter / "sh"}) {
        fs::copy_file(KV_PANEL_STUB, file);
    }
    const fs::path previous = fs::current_path();
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    fs::current_path(here);
    setenv("PATH", ("::.:" + path).c_str(), 1);
    EXPECT_TRUE(platform::FindProgram("kvonlyhere", starter).empty());
    EXPECT_TRUE(platform::FindProgram("./kvonlyhere", starter).empty());
    EXPECT_EQ(platform::FindProgram("sh", starter), starter / "sh");
    EXPECT_FALSE(platform::FindProgram("ls", starter).empty());
    EXPECT_FALSE(platform::StartProcess("kvonlyhere", {}, starter).IsValid());
    setenv("PATH", path.c_str(), 1);
    fs::current_path(previous);
}

// An ended child nobody has reaped yet (as under an init that never reaps)
// is not a running process: a panel that died must not look alive.
TEST(ProcessSnapshotTest, ListsThisProcessButNotAnEndedUnreapedChild) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(0);
    const fs::path stat = fs::path("/proc") / std::to_string(child) / "stat";
    EXPECT_TRUE(WaitUntil([&] {
        const std::string text = kvtest::ReadFile(stat);
        return text.find(") Z") != std::string::npos;
    }));
    const auto processes = platform::ProcessSnapshot();
    const auto listed = [&](pid_t id) {
        return std::any_of(processes.begin(), processes.end(),
                           [id](const platform::ProcessEntry& p) { return p.id == static_cast<platform::DWORD>(id); });
    };
    EXPECT_TRUE(listed(::getpid()));
    EXPECT_FALSE(listed(child));
    ::waitpid(child, nullptr, 0);
}

}  // namespace
