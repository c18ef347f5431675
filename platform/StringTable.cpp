#include "platform/StringTable.h"

#include <algorithm>

namespace platform {

const StringResource* StringTable::Find(UINT id) const {
    const StringResource* end = rows_ + count_;
    const StringResource* it =
        std::lower_bound(rows_, end, id, [](const StringResource& row, UINT key) { return row.id < key; });
    return it != end && it->id == id ? it : nullptr;
}

std::string StringTable::LoadString(UINT id) const {
    const StringResource* row = Find(id);
    return row ? std::string(row->text) : std::string();
}

bool StringTable::Has(UINT id) const { return Find(id) != nullptr; }

}  // namespace platform
