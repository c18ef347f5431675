#include "settings/CRegHelper.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "settings/TextLimits.h"

namespace {

constexpr const char* kCountValue = "Count";

// "%.4d": "0000", "0001", ... (wider once past 9999).
std::string EntryName(platform::DWORD index) {
    char name[16];
    std::snprintf(name, sizeof name, "%.4u", static_cast<unsigned>(index));
    return name;
}

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

bool CRegHelper::setStringArrayRegistry(const platform::RegKey& parent, std::string_view name,
                                        const std::vector<std::string>& list) {
    platform::RegKey key;
    if (key.Create(parent, name) != platform::ERROR_SUCCESS) return true;
    const auto stored = static_cast<platform::DWORD>(
        std::count_if(list.begin(), list.end(), [](const std::string& e) { return !e.empty(); }));
    key.SetDWORDValue(kCountValue, stored);
    platform::DWORD index = 0;
    for (const std::string& entry : list) {
        if (entry.empty()) continue;
        key.SetStringValue(EntryName(index++), entry);
    }
    return true;
}

bool CRegHelper::getStringArrayRegistry(const platform::RegKey& parent, std::string_view name,
                                        std::vector<std::string>& list, const char* defaultFile) {
    platform::RegKey key;
    if (key.Open(parent, name) != platform::ERROR_SUCCESS &&
        key.Create(parent, name) != platform::ERROR_SUCCESS) {
        return false;
    }
    list.clear();
    platform::DWORD count = 0;
    if (key.QueryDWORDValue(kCountValue, count) != platform::ERROR_SUCCESS) count = 0;

    if (count > 0) {
        // A damaged Count never makes the walk longer than the values there.
        platform::DWORD subKeys = 0, values = 0;
        key.QueryInfoKey(&subKeys, &values);
        const platform::DWORD walk = std::min(count, values);
        std::string entry;
        for (platform::DWORD i = 0; i < walk; ++i) {
            utl_QueryStringValue(key, EntryName(i), entry, textlimits::kListEntry);
            if (!entry.empty()) list.push_back(entry);
        }
    } else if (defaultFile) {
        list = ReadListFile(defaultFile);
    }
    return true;
}

bool CRegHelper::utl_QueryStringValue(const platform::RegKey& key, std::string_view name,
                                      std::string& value, platform::DWORD bufferSize) {
    value.clear();
    if (bufferSize == 0) return false;
    std::string buffer(bufferSize, '\0');
    platform::DWORD type = platform::REG_NONE;
    platform::DWORD size = bufferSize;
    if (key.QueryValue(name, &type, buffer.data(), &size) != platform::ERROR_SUCCESS) return true;
    if (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ) return true;
    if (size == 0 || size > bufferSize || buffer[size - 1] != '\0') return true;
    value.assign(buffer.c_str());
    return true;
}

std::vector<std::string> CRegHelper::ReadListFile(const char* fileName) {
    std::vector<std::string> entries;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return entries;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });

    std::string_view rest = Trim(text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, end));
        if (!line.empty()) entries.emplace_back(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return entries;
}
