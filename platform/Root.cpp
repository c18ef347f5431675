#include "platform/Root.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "platform/FileOps.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

// Folders below the root are made without following links, so a linked
// folder on the way never gets empty folders made somewhere else.
fs::path EnsureFolder(const fs::path& folder) {
    MakeFoldersBelowRoot(folder);
    return folder;
}

// "a\b/c" -> "a/b/c"; leading separators are dropped so the fragment
// always stays relative to its base.
std::string NormaliseFragment(std::string_view fragment) {
    std::string out(fragment);
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    const auto first = out.find_first_not_of('/');
    return first == std::string::npos ? std::string() : out.substr(first);
}

// A relative KAVELIN_ROOT is made absolute once, as the library loads,
// against the folder the program was started in, and the environment is set
// to the absolute path: every later call and every program started from here
// then names the same root, whatever folder they change to. One that cannot
// be made absolute (the start folder no longer exists) is refused: the
// program stops with a message instead of writing a user's files somewhere
// unknown.
const bool g_rootMadeAbsolute = [] {
    const char* root = std::getenv("KAVELIN_ROOT");
    if (!root || !*root || fs::path(root).is_absolute()) return false;
    std::error_code ec;
    const fs::path absolute = fs::absolute(root, ec);
    if (ec) {
        std::fprintf(stderr,
                     "KAVELIN_ROOT \"%s\" is a relative path and the current folder cannot be found, so it "
                     "cannot be made absolute; set KAVELIN_ROOT to an absolute path.\n",
                     root);
        std::_Exit(2);
    }
    ::setenv("KAVELIN_ROOT", absolute.lexically_normal().c_str(), 1);
    return true;
}();

}  // namespace

fs::path UserRoot() {
    if (const char* root = std::getenv("KAVELIN_ROOT"); root && *root) {
        // Set relative after start: taken against the current folder.
        std::error_code ec;
        const fs::path absolute = fs::absolute(root, ec);
        return (ec ? fs::path(root) : absolute).lexically_normal();
    }
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
        return (fs::path(data) / "kavelin").lexically_normal();
    }
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : "/tmp") / ".local/share/kavelin").lexically_normal();
}

fs::path RegistryFolder() { return EnsureFolder(UserRoot() / "registry"); }
fs::path ProfileFolder() { return EnsureFolder(UserRoot() / "profile"); }
fs::path ProgramFolder() { return EnsureFolder(UserRoot() / "program"); }

std::optional<fs::path> ShellFolder(int csidl) {
    const char* below = nullptr;
    switch (csidl) {
    case CSIDL_FAVORITES: below = "Favorites"; break;
    case CSIDL_RECENT: below = "Recent"; break;
    case CSIDL_NETHOOD: below = "NetHood"; break;
    case CSIDL_APPDATA: below = "Application Data"; break;
    case CSIDL_INTERNET_CACHE: below = "Local Settings/Temporary Internet Files"; break;
    case CSIDL_COOKIES: below = "Cookies"; break;
    case CSIDL_HISTORY: below = "Local Settings/History"; break;
    case CSIDL_WINDOWS: below = "WINDOWS"; break;
    case CSIDL_PROGRAM_FILES: below = "Program Files"; break;
    case CSIDL_PROFILE: below = ""; break;
    default: return std::nullopt;
    }
    const fs::path profile = ProfileFolder();
    return *below ? EnsureFolder(profile / below) : profile;
}

bool IsInsideRoot(const fs::path& path) {
    // Both sides absolute, so that a root named relative to the current
    // folder still contains the paths made from it.
    const fs::path root = fs::absolute(UserRoot()).lexically_normal();
    const fs::path normal = fs::absolute(path).lexically_normal();
    const fs::path rel = normal.lexically_relative(root);
    if (rel.empty()) return false;
    return *rel.begin() != "..";
}

bool HoldsRootFolders(const fs::path& folder) {
    std::error_code ec;
    const fs::path full = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    return !ec && IsProtectedPath(full);
}

std::optional<fs::path> JoinBelowRoot(const fs::path& base, std::string_view fragment) {
    const fs::path joined = (base / NormaliseFragment(fragment)).lexically_normal();
    if (!IsInsideRoot(joined)) return std::nullopt;
    return joined;
}

fs::path ModuleFolder(const void* addressInModule) {
    Dl_info info{};
    if (dladdr(addressInModule, &info) && info.dli_fname && *info.dli_fname) {
        std::error_code ec;
        const fs::path file = fs::canonical(info.dli_fname, ec);
        if (!ec) return file.parent_path();
    }
    return ProgramImageFolder();
}

fs::path ProgramImageFolder() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : self.parent_path();
}

}  // namespace platform
