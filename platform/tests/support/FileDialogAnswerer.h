#pragma once
// Records every file dialog shown while it lives (any thread) and answers
// them in turn with the given files; a nothing answer, and every dialog
// past the list, is a cancel. The previous handler comes back afterwards.

#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/FileDialog.h"

namespace kvtest {

class FileDialogAnswerer {
public:
    using Answer = std::optional<std::filesystem::path>;

    explicit FileDialogAnswerer(std::vector<Answer> answers = {});
    ~FileDialogAnswerer();
    FileDialogAnswerer(const FileDialogAnswerer&) = delete;
    FileDialogAnswerer& operator=(const FileDialogAnswerer&) = delete;

    std::vector<platform::FileDialogRequest> requests() const;

private:
    mutable std::mutex mutex_;
    std::vector<Answer> answers_;
    std::vector<platform::FileDialogRequest> requests_;
    platform::FileDialogHandler previous_;
};

}  // namespace kvtest
