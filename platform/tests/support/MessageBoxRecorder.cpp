#include "support/MessageBoxRecorder.h"

namespace kvtest {

MessageBoxRecorder::MessageBoxRecorder(int answer) {
    previous_ = platform::SetMessageBoxHandler(
        [this, answer](platform::HWND, const std::string& text, const std::string& caption, platform::UINT type) {
            std::lock_guard lock(mutex_);
            boxes_.push_back({text, caption, type});
            return answer;
        });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    platform::SetMessageBoxHandler(std::move(previous_));
}

std::vector<MessageBoxRecorder::Box> MessageBoxRecorder::boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

}  // namespace kvtest
