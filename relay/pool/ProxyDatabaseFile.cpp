#include "relay/pool/ProxyDatabaseFile.h"

#include <system_error>

#include "platform/Root.h"
#include "platform/SafeFile.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolder = "dbase";
constexpr const char* kFile = "proxypool.db";

}  // namespace

fs::path ProxyDatabasePath() { return platform::ProgramFolder() / kFolder / kFile; }

fs::path SeedDatabasePath() {
    return platform::ModuleFolder(reinterpret_cast<const void*>(&SeedDatabasePath)) / kFolder / kFile;
}

fs::path PrepareProxyDatabase() {
    const fs::path path = ProxyDatabasePath();
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        const fs::path seed = SeedDatabasePath();
        if (fs::is_regular_file(seed, ec)) {
            fs::create_directories(path.parent_path(), ec);
            platform::CopyFileAtomic(seed, path);
        }
    }
    // A read-only file (an installed seed copied with its bits) is made
    // writable, as the engine stores analysed proxies in it.
    if (fs::is_regular_file(path, ec)) {
        const fs::perms perms = fs::status(path, ec).permissions();
        if (!ec && (perms & fs::perms::owner_write) == fs::perms::none) {
            fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
        }
    }
    return path;
}
