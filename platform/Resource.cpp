#include "platform/Resource.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace platform {

namespace {

std::string Folded(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return folded;
}

struct Table {
    std::mutex lock;
    std::map<std::pair<std::string, std::string>, ResourceBytes> entries;
};

// Never destroyed: modules register from static initialisers and may look
// up from static destructors.
Table& Resources() {
    static Table* table = new Table;
    return *table;
}

}  // namespace

std::string ResourceNumber(unsigned number) {
    return "#" + std::to_string(number);
}

void RegisterResource(std::string_view type, std::string_view name, ResourceBytes bytes) {
    Table& table = Resources();
    std::lock_guard guard(table.lock);
    table.entries[{Folded(type), Folded(name)}] = bytes;
}

std::optional<ResourceBytes> FindResource(std::string_view type, std::string_view name) {
    Table& table = Resources();
    std::lock_guard guard(table.lock);
    const auto found = table.entries.find({Folded(type), Folded(name)});
    if (found == table.entries.end()) return std::nullopt;
    return found->second;
}

}  // namespace platform
