// The cleanup benchmark (bench/cleanup.sh; not a test): in a fresh per-user
// root of its own, times the restore of a large typed-address backup and
// the removal of many URL cache entries, and prints one line per figure.
//
//   kvsweep_bench [MEGABYTES [ENTRIES]]      (defaults: 3 and 5000)

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "cleanup/CCleanIE.h"
#include "cleanup/CTraceSweeper.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "platform/UrlCache.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A typed-address backup of about megabytes MB; returns its line count.
std::size_t WriteTypedUrlBackup(const fs::path& file, double megabytes) {
    std::ofstream out(file, std::ios::binary);
    const auto bytes = static_cast<std::size_t>(megabytes * 1024 * 1024);
    std::size_t written = 0, lines = 0;
    while (written < bytes) {
        const std::string line = "http://www.site" + std::to_string(lines) + ".example/path/page.html";
        if (lines) out << '\n';
        out << line;
        written += line.size() + 1;
        ++lines;
    }
    return lines;
}

std::size_t TypedUrlCount() {
    platform::RegKey key;
    platform::DWORD values = 0;
    if (key.Open(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLs") !=
            platform::ERROR_SUCCESS ||
        key.QueryInfoKey(nullptr, &values) != platform::ERROR_SUCCESS)
        return 0;
    return values;
}

// One entry in ten is a cookie, which the walk keeps.
void SeedCacheEntries(int count) {
    const fs::path content = *platform::ShellFolder(platform::CSIDL_INTERNET_CACHE) / "Content.IE5";
    fs::create_directories(content / "AB12CD34");
    std::string index;
    for (int i = 0; i < count; ++i) {
        const std::string name = "AB12CD34/page" + std::to_string(i) + ".htm";
        std::ofstream(content / name) << "cached";
        char type[16];
        std::snprintf(type, sizeof type, "%08X", i % 10 == 0 ? 0x00100001u : 0x00000001u);
        index += std::string(type) + "\thttp://site/" + std::to_string(i) + "\t" + name + "\n";
    }
    std::ofstream(content / "index.dat", std::ios::binary) << index;
}

}  // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int entries = argc > 2 ? std::atoi(argv[2]) : 5000;

    std::string pattern = (fs::temp_directory_path() / "kvsweep-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 2;
    const fs::path root = pattern;
    ::setenv("KAVELIN_ROOT", root.c_str(), 1);
    // No question on stderr for each outcome.
    platform::SetMessageBoxHandler([](platform::HWND, const std::string&, const std::string&,
                                      platform::UINT) { return platform::IDOK; });

    const fs::path backup = root / "typed-urls.txt";
    const std::size_t lines = WriteTypedUrlBackup(backup, megabytes);
    platform::SetFileDialogHandler(
        [&](const platform::FileDialogRequest&) -> std::optional<fs::path> { return backup; });
    auto start = Clock::now();
    CTraceSweeper().RestoreItems(BRI_TYPED_URLS, CB_IE);
    const double restore = SecondsSince(start);
    std::printf("typed-address restore: %.1f MB, %zu lines, %zu values stored, %.2f s\n",
                static_cast<double>(fs::file_size(backup)) / (1024 * 1024), lines, TypedUrlCount(),
                restore);

    SeedCacheEntries(entries);
    start = Clock::now();
    CCleanIE().DeleteUrlCache(DCT_TEMP_FILES);
    const double cache = SecondsSince(start);
    std::printf("cache-entry removal: %d entries, %zu cookies kept, %.2f s\n", entries,
                platform::ReadUrlCacheIndex(platform::UrlCacheContainer::Content).size(), cache);

    std::error_code ec;
    fs::remove_all(root, ec);
    return 0;
}
