#include "platform/Library.h"

#include <dlfcn.h>

#include <cctype>
#include <string>

namespace platform {
namespace fs = std::filesystem;

fs::path SharedObjectPath(const fs::path& file) {
    const std::string name = file.filename().string();
    constexpr std::string_view kDll = ".dll";
    if (name.size() <= kDll.size()) return file;
    const std::string stem = name.substr(0, name.size() - kDll.size());
    std::string extension = name.substr(stem.size());
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != kDll) return file;
    return file.parent_path() / ("lib" + stem + ".so");
}

HMODULE LoadLibrary(const fs::path& file) {
    const fs::path object = SharedObjectPath(file);
    // A bare name would send dlopen to the system's library search; only a
    // path to a file is loaded.
    if (object.empty() || !object.has_parent_path()) return nullptr;
    return ::dlopen(object.c_str(), RTLD_NOW | RTLD_LOCAL);
}

FARPROC GetProcAddress(HMODULE module, std::string_view name) {
    if (!module) return nullptr;
    const std::string symbol(name);
    return reinterpret_cast<FARPROC>(::dlsym(module, symbol.c_str()));
}

}  // namespace platform
