#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cleanup/CTraceSweeperBackupSteps.h"
#include "platform/FileOps.h"
#include "platform/Registry.h"
#include "platform/SafeFile.h"

namespace cleanup::backup {

namespace {

constexpr const char* kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kOperaDir = "opera.dir";
constexpr const char* kGlobalDat = "global.dat";
constexpr std::size_t kHeader = 8;

std::string UrlName(unsigned n) { return "url" + std::to_string(n); }

void PutLength(std::string& out, std::uint32_t n) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}

std::uint32_t GetLength(std::string_view in) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(in[i]);
    return n;
}

// "url1", "url2"... up to the first that cannot be read, one a line.
std::string CollectTypedUrls() {
    std::string text;
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, kTypedUrls, platform::KEY_READ) != platform::ERROR_SUCCESS)
        return text;
    std::string url;
    for (unsigned n = 1; key.QueryStringValue(UrlName(n), url) == platform::ERROR_SUCCESS; ++n)
        text += url + "\n";
    if (!text.empty()) text.pop_back();
    return text;
}

unsigned FirstFreeUrlNumber() {
    platform::RegKey key;
    unsigned n = 1;
    if (key.Open(platform::HKEY_CURRENT_USER, kTypedUrls, platform::KEY_READ) != platform::ERROR_SUCCESS)
        return n;
    platform::DWORD size = 0;
    while (key.QueryValue(UrlName(n), nullptr, nullptr, &size) == platform::ERROR_SUCCESS) ++n;
    return n;
}

// The lines of a backup, whole; a "\r" before the break (a file written
// on Windows) is not part of the address, and the end of the file after a
// final break holds no address.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto cut = text.find('\n');
        std::string_view line = text.substr(0, cut);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        if (cut == std::string_view::npos) break;
        text.remove_prefix(cut + 1);
    }
    return lines;
}

}  // namespace

void BackupIETypedUrls() {
    const std::string text = CollectTypedUrls();
    const auto chosen = AskFile(Direction::Backup);
    if (!chosen) return;
    Tell(platform::WriteFileNoFollow(*chosen, text) ? "Your IE Typed URL(s) have been backuped successfully"
                                                  : "Error:Your IE Typed URL(s) have not been backuped");
}

void RestoreIETypedUrls() {
    unsigned n = FirstFreeUrlNumber();
    const auto chosen = AskFile(Direction::Restore);
    if (!chosen) return;
    const auto text = platform::ReadWholeFile(*chosen);
    // One hive write for the whole file, however many lines it holds.
    const platform::RegistryBatch batch;
    platform::RegKey key;
    if (!text || key.Create(platform::HKEY_CURRENT_USER, kTypedUrls) != platform::ERROR_SUCCESS) {
        Tell("Error:Your IE Typed URL(s) have not been restored");
        return;
    }
    for (const std::string& line : SplitLines(*text)) {
        if (key.SetStringValue(UrlName(n++), line) != platform::ERROR_SUCCESS)
            Tell("error in updating the typed URL");
    }
    Tell("Your IE Typed URL(s) have been restored successfully");
}

// The backup holds both files whole behind their two lengths.
void BackupOperaTypedUrls() {
    const auto folder = OperaFolder();
    const auto dirFile = folder ? OperaFile(*folder, kOperaDir) : std::nullopt;
    const auto globalFile = folder ? OperaFile(*folder, kGlobalDat) : std::nullopt;
    if (!dirFile || !globalFile) {
        Tell("Error:Your OPERA Typed URL(s) have not been backuped");
        return;
    }
    const std::string dir = platform::ReadWholeFile(*dirFile).value_or("");
    const std::string global = platform::ReadWholeFile(*globalFile).value_or("");
    const auto chosen = AskFile(Direction::Backup);
    if (!chosen) return;
    std::string backup;
    PutLength(backup, static_cast<std::uint32_t>(dir.size()));
    PutLength(backup, static_cast<std::uint32_t>(global.size()));
    backup += dir;
    backup += global;
    Tell(platform::WriteFileNoFollow(*chosen, backup) ? "Your OPERA Typed URL(s) have been backuped successfully"
                                                    : "Error:Your OPERA Typed URL(s) have not been backuped");
}

// Nothing is written unless the two lengths account for the whole file.
void RestoreOperaTypedUrls() {
    const auto folder = OperaFolder();
    const auto dirFile = folder ? OperaFile(*folder, kOperaDir) : std::nullopt;
    const auto globalFile = folder ? OperaFile(*folder, kGlobalDat) : std::nullopt;
    constexpr std::string_view kFailed = "Error:Your Opera Typed URL(s) have not been restored";
    if (!dirFile || !globalFile) {
        Tell(kFailed);
        return;
    }
    const auto chosen = AskFile(Direction::Restore);
    if (!chosen) return;
    const auto backup = platform::ReadWholeFile(*chosen);
    if (!backup || backup->size() < kHeader) {
        Tell(kFailed);
        return;
    }
    const std::uint64_t dirSize = GetLength(*backup);
    const std::uint64_t globalSize = GetLength(std::string_view(*backup).substr(4));
    if (kHeader + dirSize + globalSize != backup->size()) {
        Tell(kFailed);
        return;
    }
    // The two files belong together: when the second cannot be written,
    // the first gets its former bytes back.
    const std::string_view bytes(*backup);
    const auto formerDir = platform::ReadWholeFile(*dirFile);
    if (!platform::WriteFileAtomic(*dirFile, bytes.substr(kHeader, dirSize))) {
        Tell(kFailed);
        return;
    }
    if (!platform::WriteFileAtomic(*globalFile, bytes.substr(kHeader + dirSize))) {
        if (formerDir)
            platform::WriteFileAtomic(*dirFile, *formerDir);
        else
            platform::DeleteFile(*dirFile);
        Tell(kFailed);
        return;
    }
    Tell("Your Opera Typed URL(s) have been restored successfully");
}

}  // namespace cleanup::backup
