#pragma once
// String tables compiled into each deliverable (see cmake/StringTable.cmake).

#include <cstddef>
#include <string>

#include "platform/Types.h"

namespace platform {

struct StringResource {
    UINT id;
    const char* text;
};

class StringTable {
public:
    // rows sorted by id
    constexpr StringTable(const StringResource* rows, std::size_t count) : rows_(rows), count_(count) {}
    // The text of id, or an empty string when the table has none.
    std::string LoadString(UINT id) const;
    bool Has(UINT id) const;

private:
    const StringResource* Find(UINT id) const;
    const StringResource* rows_;
    std::size_t count_;
};

}  // namespace platform
