#pragma once
// The shell-folder library ("SHFolder.dll") and its SHGetFolderPathA. Callers
// look the function up by name, as they would in the system library; the
// library is loaded on first use and stays loaded. A test switch makes the
// library missing.

#include <string_view>

#include "platform/Types.h"

namespace platform {

using FARPROC = void (*)();

inline constexpr DWORD SHGFP_TYPE_CURRENT = 0;

// SHGetFolderPathA: writes the folder of csidl (platform/Root.h numbers)
// into path, a buffer of MAX_PATH bytes, without a trailing separator.
// E_INVALIDARG for an unknown number, E_FAIL when the folder's path does not
// fit (it is never cut).
using PFNSHGETFOLDERPATHA = HRESULT (*)(void* owner, int csidl, void* token, DWORD flags, char* path);

// The library's function of that name; null when the library or the
// function is missing.
FARPROC ShFolderProcAddress(std::string_view name);

namespace shfolder_test {
// While set, the library cannot be loaded and every look-up gives null.
void SetLibraryMissing(bool missing);
}  // namespace shfolder_test

}  // namespace platform
