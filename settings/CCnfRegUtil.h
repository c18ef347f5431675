#pragma once
// Helpers of the client-program configurators: values that are written, or
// deleted when there is nothing to write, and a search for a file by name.

#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/Types.h"

class CCnfRegUtil {
public:
    // Writes the REG_DWORD; a value of 0 deletes the named value instead.
    static void AddDWORDValue(platform::RegKey& key, std::string_view name, platform::DWORD value);
    // Writes the REG_SZ with its terminating zero; a null or empty text
    // deletes the named value instead.
    static void AddStringValue(platform::RegKey& key, std::string_view name, const char* text);

    // Depth-first search below folder for a file named fileName (ignoring
    // case), entries in sorted order. On a match the full path goes into
    // result and the search stops; result is left alone when nothing
    // matches. Symbolic links are neither entered nor matched, and the
    // process's working folder is never changed.
    static void SearchFolder(const std::string& folder, std::string_view fileName,
                             std::string& result);
};
