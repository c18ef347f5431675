#pragma once
// Paths of client programs' files, which those programs spell with varying
// case ("Mozilla\Profiles", "mIRC" and "Mirc"): each existing component is
// found without case, and Windows paths read from the registry ("C:\...")
// are mapped below the profile folder, where "c:\" lives.

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// base joined with fragment ("\" or "/" separated). Each component that
// exists is matched against its folder's entries without case (an exact
// match first, else the first match in name order); from the first
// component that does not exist on, the rest is kept as spelled. Nothing
// when fragment holds ".." or the result (links followed) leaves the
// per-user root.
std::optional<std::filesystem::path> ResolveNoCase(const std::filesystem::path& base,
                                                   std::string_view fragment);

// "C:\Program Files\mIRC" -> <root>/profile/Program Files/mIRC, resolved as
// above. Nothing for other drives, relative paths and paths leaving the root.
std::optional<std::filesystem::path> MapWindowsPath(std::string_view windowsPath);

}  // namespace platform
