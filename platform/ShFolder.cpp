#include "platform/ShFolder.h"

#include <array>
#include <atomic>
#include <cstring>
#include <string>

#include "platform/Root.h"

namespace platform {

namespace {

std::atomic<bool> g_libraryMissing{false};

HRESULT GetFolderPathA(void*, int csidl, void*, DWORD, char* path) {
    if (!path) return E_INVALIDARG;
    path[0] = '\0';
    const auto folder = ShellFolder(csidl);
    if (!folder) return E_INVALIDARG;
    std::string text = folder->string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    if (text.size() >= static_cast<std::size_t>(MAX_PATH)) return E_FAIL;
    std::memcpy(path, text.c_str(), text.size() + 1);
    return S_OK;
}

struct Export {
    std::string_view name;
    FARPROC function;
};

// The library's export table, bound the first time anyone asks for an
// export and kept for the life of the process.
const std::array<Export, 1>& Exports() {
    static const std::array<Export, 1> table{{
        {"SHGetFolderPathA", reinterpret_cast<FARPROC>(&GetFolderPathA)},
    }};
    return table;
}

}  // namespace

FARPROC ShFolderProcAddress(std::string_view name) {
    if (g_libraryMissing.load()) return nullptr;
    for (const Export& entry : Exports()) {
        if (entry.name == name) return entry.function;
    }
    return nullptr;
}

namespace shfolder_test {
void SetLibraryMissing(bool missing) { g_libraryMissing.store(missing); }
}  // namespace shfolder_test

}  // namespace platform
