#pragma once
// A hive as Windows ".reg" text ("Windows Registry Editor Version 5.00"):
// one "[HKEY_...\path]" line per key followed by its values, "name"="text"
// for REG_SZ, "name"=dword:0000001f, "name"=hex:.. for REG_BINARY,
// hex(2): for REG_EXPAND_SZ and hex(N): for every other type, @ for the
// default value. Texts are bytes (UTF-8 passes through unchanged). Files are
// read in UTF-8 (with or without its byte-order mark) or in UTF-16, the
// encoding registry editors export in, and always written in UTF-8.
//
// A key's security descriptor is kept on a comment line right after its key
// line, ";security=hex:01,00,...", which registry editors skip, so the file
// stays an ordinary ".reg" file for any other reader.

#include <optional>
#include <string>
#include <string_view>

#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace platform {

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT".
std::string_view HiveKeyName(Hive hive);

std::string FormatHiveText(Hive hive, const RegNode& root);

// The lines of a hive text that could not be read.
struct HiveTextFaults {
    std::size_t lines = 0;
    std::size_t firstLine = 0;   // 1-based
};

// Strict parsing refuses the whole text on any line it does not understand.
// Lenient parsing (files on disk) skips such lines, so one damaged line does
// not lose the rest of the hive, and counts them in faults.
std::optional<RegNode> ParseHiveText(Hive hive, std::string_view text, bool strict,
                                     HiveTextFaults* faults = nullptr);

}  // namespace platform
