#include "platform/Autostart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/SafeFile.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

std::optional<fs::path> ConfigFolder() {
    // A relative XDG_CONFIG_HOME is not valid and is ignored, as the desktop does.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return fs::path(config);
    if (const char* home = std::getenv("HOME"); home && *home == '/') return fs::path(home) / ".config";
    return std::nullopt;
}

bool IsFolder(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A value of a desktop entry: the escapes of its string type.
std::string EntryString(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

// The program as the one word of an Exec key: quoted, with the four
// characters that quoting does not cover escaped, and "%" (a field code
// otherwise) doubled; the string escapes then apply to the whole key.
std::string ExecWord(const std::string& program) {
    std::string word = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') word += '\\';
        if (c == '%') word += '%';
        word += c;
    }
    return EntryString(word + "\"");
}

bool HasControlCharacters(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

}  // namespace

std::optional<fs::path> AutostartEntryFile(std::string_view name) {
    const auto config = ConfigFolder();
    if (!config) return std::nullopt;
    std::string file;
    for (const char c : name) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                          c == '.' || c == '_' || c == '-';
        file += kept ? c : '-';
    }
    return *config / "autostart" / (file + ".desktop");
}

bool WriteAutostartEntry(std::string_view name, const fs::path& program) {
    const auto file = AutostartEntryFile(name);
    if (!file || !IsFolder(file->parent_path().parent_path())) return true;
    const std::string path = program.string();
    if (!program.is_absolute() || HasControlCharacters(path) || HasControlCharacters(name)) return false;
    const fs::path folder = file->parent_path();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=" + EntryString(name) + "\n"
                              "Exec=" + ExecWord(path) + "\n"
                              "Terminal=false\n";
    return WriteFileNoFollow(*file, entry);
}

bool RemoveAutostartEntry(std::string_view name) {
    const auto file = AutostartEntryFile(name);
    if (!file) return true;
    struct stat st {};
    if (::lstat(file->c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR;
    if (S_ISDIR(st.st_mode)) return false;
    return ::unlink(file->c_str()) == 0;
}

}  // namespace platform
