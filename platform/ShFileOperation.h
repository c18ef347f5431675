#pragma once
// The subset of SHFileOperation that the cleaners and the wizard use: move,
// copy, delete and rename of files and folders. Sources may end in a
// Windows wildcard ("*.*"). No dialog is ever shown, so the confirmation
// flags change nothing. Every path must lie inside the per-user root, and
// links are handled as links: deleting one removes the link, copying one
// copies the link, and a folder is never entered through one. Nothing
// deletes, moves or renames the root, its registry/ or program/ folder, or
// what they hold (platform/FileOps.h).

#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

inline constexpr UINT FO_MOVE = 1;
inline constexpr UINT FO_COPY = 2;
inline constexpr UINT FO_DELETE = 3;
inline constexpr UINT FO_RENAME = 4;

inline constexpr WORD FOF_SILENT = 0x0004;
inline constexpr WORD FOF_NOCONFIRMATION = 0x0010;
inline constexpr WORD FOF_FILESONLY = 0x0080;
inline constexpr WORD FOF_NOCONFIRMMKDIR = 0x0200;

// Result when a source does not exist or leaves the root.
inline constexpr int DE_INVALIDFILES = 0x7C;
// Result when an operation on an existing source failed.
inline constexpr int DE_ACCESSDENIED = 0x78;

struct ShFileOpStruct {
    UINT wFunc = 0;
    std::vector<std::string> pFrom;  // one path per item
    std::string pTo;                 // the target (folder or new name)
    WORD fFlags = 0;
};

// 0 when every item was done, else an error number.
int SHFileOperation(const ShFileOpStruct& op);

}  // namespace platform
