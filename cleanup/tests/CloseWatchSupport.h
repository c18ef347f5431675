#pragma once
// What the browser-close watcher tests share: a stand-in cleaner
// program that notes each start, the registry value that points the watcher
// at it, and a notify window that counts the watcher's message.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/Messages.h"
#include "support/TempRoot.h"

namespace closewatchtest {

class CloseWatchTest : public kvtest::RootedTest {
protected:
    CloseWatchTest();
    ~CloseWatchTest() override;

    // Starts of the stand-in cleaner so far.
    int CleanerStarts() const;
    // Waits (bounded) until the stand-in has started count times.
    bool WaitForCleanerStarts(int count, const std::function<void()>& pump) const;
    int Notices() const { return *notices_; }
    platform::HWND notify() const { return notify_; }
    const std::filesystem::path& cleanerFolder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::shared_ptr<int> notices_ = std::make_shared<int>(0);
    platform::HWND notify_;
};

}  // namespace closewatchtest
