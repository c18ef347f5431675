#pragma once
// Shared libraries loaded by file name and their exports looked up by name.
// A name ending in ".dll" ("CloseWatch.dll") stands for the shared object
// "libCloseWatch.so" in the same folder. A loaded library is never unloaded:
// callers may keep pointers into it (hook procedures, exports) for the life
// of the process.

#include <filesystem>
#include <string_view>

namespace platform {

// A loaded library; null when loading failed.
using HMODULE = void*;
using FARPROC = void (*)();

// The shared object a library name stands for: "X.dll" (any letter case of
// the extension) becomes "libX.so" in the same folder; other names are kept.
std::filesystem::path SharedObjectPath(const std::filesystem::path& file);

// Loads the library (its dependencies bound at once); null when the file is
// missing or cannot be loaded. Loading a loaded library again gives the same
// handle.
HMODULE LoadLibrary(const std::filesystem::path& file);

// The export of that name; null for a null module or a missing name.
FARPROC GetProcAddress(HMODULE module, std::string_view name);

}  // namespace platform
