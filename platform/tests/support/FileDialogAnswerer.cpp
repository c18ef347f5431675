#include "support/FileDialogAnswerer.h"

namespace kvtest {

FileDialogAnswerer::FileDialogAnswerer(std::vector<Answer> answers) : answers_(std::move(answers)) {
    previous_ = platform::SetFileDialogHandler([this](const platform::FileDialogRequest& request) {
        std::lock_guard lock(mutex_);
        const std::size_t index = requests_.size();
        requests_.push_back(request);
        return index < answers_.size() ? answers_[index] : Answer();
    });
}

FileDialogAnswerer::~FileDialogAnswerer() {
    platform::SetFileDialogHandler(std::move(previous_));
}

std::vector<platform::FileDialogRequest> FileDialogAnswerer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace kvtest
