#pragma once
// The system browser's auto-complete list. Its only step resets the options
// of a fresh auto-complete object, which no stand-in here has and which
// leaves no trace to remove; the cleaner therefore removes nothing. It
// carries the facade's SID and access-list steps as private members of its
// own (cleanup/AccessList.h), which nothing calls.

#include <string>
#include <vector>

#include "cleanup/CCleanIE.h"
#include "platform/Registry.h"
#include "platform/Types.h"

class CIEAutoComlete : public CCleanIE {
public:
    // Runs whatever enable says; always false.
    bool Clear(bool enable);

private:
    // Tests reach the private members through it.
    friend struct CIEAutoComleteProbe;

    bool IsWindowsNTFamily();
    int GetUserSid(std::vector<platform::BYTE>& sid);
    std::string GetSidString(const std::vector<platform::BYTE>& sid);
    int GetOldSD(platform::Hive root, const char* subkey, std::vector<platform::BYTE>& sd);
    int CreateNewSD(const std::vector<platform::BYTE>& userSid, std::vector<platform::BYTE>& sd);
    int RegSetPrivilege(platform::Hive root, const char* subkey,
                        const std::vector<platform::BYTE>& sd, int recurse);
};
