#pragma once
// Registry helpers of the settings sections: string lists kept as a subkey
// with a "Count" and one value per entry ("0000", "0001", ...), and bounded
// string reads.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/Types.h"

class CRegHelper {
public:
    // Writes the list as subkey `name` of parent. Empty entries are not
    // stored. True even when the subkey cannot be made (nothing is written).
    static bool setStringArrayRegistry(const platform::RegKey& parent, std::string_view name,
                                       const std::vector<std::string>& list);

    // Replaces list with the stored entries (empty ones skipped). When the
    // subkey holds none and defaultFile is given, the list comes from that
    // file instead (see ReadListFile). False only when the subkey can neither
    // be opened nor made; the list is then untouched.
    static bool getStringArrayRegistry(const platform::RegKey& parent, std::string_view name,
                                       std::vector<std::string>& list, const char* defaultFile);

    // Reads a REG_SZ or REG_EXPAND_SZ value that fits, with its terminating
    // zero, in bufferSize bytes. Anything else (missing, longer, another
    // type, no terminating zero) gives an empty string. False only for a
    // zero buffer size.
    static bool utl_QueryStringValue(const platform::RegKey& key, std::string_view name,
                                     std::string& value, platform::DWORD bufferSize);

    // A default list file, opened by its bare name in the current folder:
    // the whole text trimmed and lower-cased, one entry per line, "\r" and
    // surrounding blanks dropped, empty lines skipped, the last line kept
    // with or without a final newline. An unreadable file gives no entries.
    static std::vector<std::string> ReadListFile(const char* fileName);
};
