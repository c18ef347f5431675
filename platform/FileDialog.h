#pragma once
// The standard open and save file dialogs go through one replaceable
// handler: by default the request is written to stderr and answered as
// cancelled (a program without a display cannot ask); the GUI programs
// install their dialog, tests install an answerer.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/Messages.h"
#include "platform/Types.h"

namespace platform {

inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    HWND owner = nullptr;
    std::string fileName;  // the initial name in the name field
    std::string filter;    // the filter text shown
    DWORD flags = 0;       // OFN_* bits
};

// The chosen file, or nothing when the user cancelled.
using FileDialogHandler =
    std::function<std::optional<std::filesystem::path>(const FileDialogRequest& request)>;

// Shows the dialog through the current handler.
std::optional<std::filesystem::path> ShowFileDialog(const FileDialogRequest& request);
// Installs a handler (an empty one restores the stderr default) and returns
// the previous one. Safe from any thread.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

}  // namespace platform
