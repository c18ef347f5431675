#pragma once
// The desktop's own start-at-log-on list: XDG autostart entries,
// $XDG_CONFIG_HOME/autostart/<name>.desktop (by default ~/.config). This is
// what the Windows Run key does here: whoever writes or deletes a Run value
// writes or removes the entry of the same name, so that the program really
// starts when the user logs on. The entries are one of the few places
// outside the per-user root that the system writes.
//
// Without a configuration folder (the autostart folder's parent) there is
// no desktop to start anything: writing and removing then do nothing and
// succeed.

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// The entry file for a Run value's name; characters other than letters,
// digits, ".", "_" and "-" become "-" ("Kavelin Ver 2.0" gives
// "Kavelin-Ver-2.0.desktop"). Nothing when there is no configuration
// folder's name (neither an absolute XDG_CONFIG_HOME nor HOME).
std::optional<std::filesystem::path> AutostartEntryFile(std::string_view name);

// Writes (atomically, replacing any earlier one) an entry named name that
// starts program without arguments. False when it cannot be written, when
// program is not an absolute path, or when the entry's place holds a link
// or a folder.
bool WriteAutostartEntry(std::string_view name, const std::filesystem::path& program);

// Removes the entry (a link in its place is removed as a link). True when
// it is gone or was never there.
bool RemoveAutostartEntry(std::string_view name);

}  // namespace platform
