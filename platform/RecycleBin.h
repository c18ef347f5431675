#pragma once
// The recycle bin: the folder "RECYCLER" at the top of the profile, where
// "c:\" lives. SHEmptyRecycleBin deletes everything in it (links as links)
// and keeps the folder.

#include <filesystem>
#include <string_view>

#include "platform/Types.h"

namespace platform {

inline constexpr DWORD SHERB_NOCONFIRMATION = 0x1;
inline constexpr DWORD SHERB_NOPROGRESSUI = 0x2;
inline constexpr DWORD SHERB_NOSOUND = 0x4;

std::filesystem::path RecycleBinFolder();

// An empty rootPath empties the bins of all drives (here the one bin). No
// dialog is ever shown, so the flags change nothing. S_OK also when the bin
// is already empty or missing; E_FAIL for any other root path.
HRESULT SHEmptyRecycleBin(std::string_view rootPath, DWORD flags);

}  // namespace platform
