#pragma once
// The SID and access-list steps that open the system browser's protected
// form-data key to the user long enough to remove it. Both CTraceSweeper
// (public) and CIEAutoComlete (private) carry them as members of their own;
// this is their one body. Descriptors are self-relative blobs holding a DACL
// only, as the registry keeps them; an empty blob is the key's default
// access.

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Types.h"

namespace cleanup::access {

using Bytes = std::vector<platform::BYTE>;

// True on an NT-family system (the version word's high bit clear).
bool IsWindowsNTFamily();
// 1 with the running user's binary SID.
int GetUserSid(Bytes& sid);
// "S-1-<authority>-<sub>-..."; empty for a malformed SID.
std::string GetSidString(const Bytes& sid);
// 1 with the key's current descriptor; 0 when the key cannot be read.
int GetOldSD(platform::Hive root, const char* subkey, Bytes& sd);
// 1 with a descriptor whose DACL gives the user, then LocalSystem, all key
// access, inherited by subkeys.
int CreateNewSD(const Bytes& userSid, Bytes& sd);
// Sets the descriptor on root\subkey, and on all its subkeys when recurse
// is non-zero; 0 when the key cannot be opened.
int RegSetPrivilege(platform::Hive root, const char* subkey, const Bytes& sd, int recurse);

}  // namespace cleanup::access
