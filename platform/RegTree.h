#pragma once
// The in-memory form of one registry hive: a tree of keys, each with its
// values and subkeys in stored order. Names compare without case (ASCII) and
// keep the spelling they were first written with.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Types.h"

namespace platform {

struct RegValue {
    std::string name;   // empty: the key's default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegNode {
    std::string name;
    std::vector<RegValue> values;
    std::vector<RegNode> subkeys;
    std::vector<BYTE> security;   // opaque descriptor; empty when never set

    RegNode* FindSubkey(std::string_view key);
    const RegNode* FindSubkey(std::string_view key) const;
    // The subkey of that name, appended when absent.
    RegNode& SubkeyOrAdd(std::string_view key, bool& added);
    bool RemoveSubkey(std::string_view key);

    RegValue* FindValue(std::string_view value);
    const RegValue* FindValue(std::string_view value) const;
    // Replaces the data of an existing value (its name keeps its spelling)
    // or appends a new one. False when the value already held exactly this.
    bool PutValue(std::string_view value, DWORD type, std::vector<BYTE> data);
    bool RemoveValue(std::string_view value);

    // The key at the end of a path of names below this one, or null.
    RegNode* Find(const std::vector<std::string>& path);
    const RegNode* Find(const std::vector<std::string>& path) const;

private:
    // Lower-cased value name -> its place in values, so that a key with
    // tens of thousands of values is filled and read in linear time.
    // values is changed only through PutValue and RemoveValue.
    std::unordered_map<std::string, std::size_t> valueIndex_;
};

bool EqualNoCase(std::string_view a, std::string_view b);

// Windows' limits: a key name of at most 255 bytes, at most 512 levels.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxKeyDepth = 512;

}  // namespace platform
