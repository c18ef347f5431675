#pragma once
// The recycle bin. Here it is two places: the stand-in folder "RECYCLER" at
// the top of the profile, where "c:\" lives, and the user's own trash, the
// desktop's recycle bin ($XDG_DATA_HOME/Trash, by default
// ~/.local/share/Trash). SHEmptyRecycleBin empties both: everything in
// RECYCLER (the folder stays) and everything in the trash's two folders,
// "files" (what was thrown away) and "info" (where each came from). The
// trash is the one place outside the per-user root that a cleaner changes,
// and only those two folders of it; links are deleted as links, never
// followed, and the trash is reached through real folders only below the
// data folder.

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD SHERB_NOCONFIRMATION = 0x1;
inline constexpr DWORD SHERB_NOPROGRESSUI = 0x2;
inline constexpr DWORD SHERB_NOSOUND = 0x4;

std::filesystem::path RecycleBinFolder();

// The user's trash folder; nothing when neither XDG_DATA_HOME (absolute)
// nor HOME names a place for it.
std::optional<std::filesystem::path> TrashFolder();

// An empty rootPath empties the bins of all drives (here the stand-in and
// the trash). No dialog is ever shown, so the flags change nothing. S_OK
// also when a bin is already empty or missing; E_FAIL when one exists but
// cannot be read, and for any other root path.
HRESULT SHEmptyRecycleBin(std::string_view rootPath, DWORD flags);

}  // namespace platform
