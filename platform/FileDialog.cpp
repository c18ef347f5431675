#include "platform/FileDialog.h"

#include <iostream>
#include <mutex>

namespace platform {

namespace {

std::optional<std::filesystem::path> CancelOnStderr(const FileDialogRequest& request) {
    std::cerr << (request.kind == FileDialogKind::Save ? "Save" : "Open") << " file dialog ("
              << request.filter << "): cancelled" << std::endl;
    return std::nullopt;
}

struct HandlerSlot {
    std::mutex mutex;
    FileDialogHandler handler = CancelOnStderr;
};

HandlerSlot& slot() {
    static HandlerSlot* s = new HandlerSlot;
    return *s;
}

}  // namespace

std::optional<std::filesystem::path> ShowFileDialog(const FileDialogRequest& request) {
    FileDialogHandler handler;
    {
        std::lock_guard lock(slot().mutex);
        handler = slot().handler;
    }
    return handler(request);
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler) {
    std::lock_guard lock(slot().mutex);
    FileDialogHandler previous = std::move(slot().handler);
    slot().handler = handler ? std::move(handler) : FileDialogHandler(CancelOnStderr);
    return previous;
}

}  // namespace platform
