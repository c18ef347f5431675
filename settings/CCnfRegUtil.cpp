#include "settings/CCnfRegUtil.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/FileFind.h"

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void Search(const std::filesystem::path& folder, std::string_view fileName, std::string& result) {
    for (const platform::FindData& entry : platform::FindFiles(folder, "*.*")) {
        if (!result.empty()) return;
        if (entry.IsDots() || entry.IsLink()) continue;
        if (entry.IsDirectory()) {
            Search(folder / entry.name, fileName, result);
        } else if (EqualNoCase(entry.name, fileName)) {
            result = (folder / entry.name).string();
        }
    }
}

}  // namespace

void CCnfRegUtil::AddDWORDValue(platform::RegKey& key, std::string_view name, platform::DWORD value) {
    if (value == 0) {
        key.DeleteValue(name);
    } else {
        key.SetDWORDValue(name, value);
    }
}

void CCnfRegUtil::AddStringValue(platform::RegKey& key, std::string_view name, const char* text) {
    if (text == nullptr || *text == '\0') {
        key.DeleteValue(name);
    } else {
        key.SetStringValue(name, text);
    }
}

void CCnfRegUtil::SearchFolder(const std::string& folder, std::string_view fileName,
                               std::string& result) {
    if (!result.empty()) return;
    Search(folder, fileName, result);
}
