#pragma once
// The per-user root: everything the system reads and writes for a user lives
// below it. KAVELIN_ROOT names it; the default follows the XDG data folder.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Shell folder numbers (CSIDL) that the system uses.
inline constexpr int CSIDL_FAVORITES = 6;
inline constexpr int CSIDL_RECENT = 8;
inline constexpr int CSIDL_NETHOOD = 18;
inline constexpr int CSIDL_APPDATA = 26;
inline constexpr int CSIDL_INTERNET_CACHE = 32;
inline constexpr int CSIDL_COOKIES = 33;
inline constexpr int CSIDL_HISTORY = 34;
inline constexpr int CSIDL_WINDOWS = 36;
inline constexpr int CSIDL_PROGRAM_FILES = 38;
inline constexpr int CSIDL_PROFILE = 40;

// The root itself, read from the environment on every call so that a test
// that points KAVELIN_ROOT elsewhere is followed at once.
std::filesystem::path UserRoot();

// Folders below the root; created on first use.
std::filesystem::path RegistryFolder();
std::filesystem::path ProfileFolder();
std::filesystem::path ProgramFolder();

// The folder a CSIDL number maps to, or nothing for an unknown number.
std::optional<std::filesystem::path> ShellFolder(int csidl);

// Joins a relative fragment (with "/" or "\" separators) below base. Refuses
// (returns nothing) a result that would leave the per-user root.
std::optional<std::filesystem::path> JoinBelowRoot(const std::filesystem::path& base,
                                                   std::string_view fragment);

// True when path lies inside the per-user root (after normalisation).
bool IsInsideRoot(const std::filesystem::path& path);

// True when folder, with links followed and "." and ".." resolved, is one
// that no removal may take (IsProtectedPath): the root, a folder above it,
// its registry/ or program/ folder or a folder inside those.
bool HoldsRootFolders(const std::filesystem::path& folder);

// Folder holding the shared object or program that contains the given
// address (pass the address of any function of the module).
std::filesystem::path ModuleFolder(const void* addressInModule);

// Folder holding the running program.
std::filesystem::path ProgramImageFolder();

}  // namespace platform
