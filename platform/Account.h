#pragma once
// Who and what the program runs as, in the shape the cleaners expect: the
// version word of the NT family, the user's logon name, and the user's
// security identifier. A Unix account has no Windows SID; it is given the
// one the Unix-user authority uses for it, S-1-22-1-<uid>.

#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

// The version word of an NT-family system (high bit clear): 5.1 build 2600.
DWORD GetVersion();

// The logon name of the effective user; false when it has none or it is
// longer than MAX_PATH bytes.
bool GetUserName(std::string& name);

// The effective user's SID in its binary layout (revision, sub-authority
// count, six-byte identifier authority, little-endian sub-authorities).
std::vector<BYTE> GetTokenUserSid();

}  // namespace platform
