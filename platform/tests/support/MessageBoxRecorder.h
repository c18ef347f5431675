#pragma once
// Records every message box shown while it lives (any thread) and answers
// each with a fixed button; the previous handler comes back afterwards.

#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace kvtest {

class MessageBoxRecorder {
public:
    struct Box {
        std::string text;
        std::string caption;
        platform::UINT type;
    };

    explicit MessageBoxRecorder(int answer = platform::IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<Box> boxes() const;

private:
    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
    platform::MessageBoxHandler previous_;
};

}  // namespace kvtest
