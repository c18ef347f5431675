#include "platform/Account.h"

#include <pwd.h>
#include <unistd.h>

#include <cstring>

namespace platform {
namespace {

constexpr BYTE kSidRevision = 1;
constexpr BYTE kUnixUserAuthority = 22;
constexpr DWORD kUnixUserKind = 1;

void AppendDword(std::vector<BYTE>& out, DWORD value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<BYTE>(value >> shift));
}

}  // namespace

DWORD GetVersion() { return 0x0A280105u; }

bool GetUserName(std::string& name) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_name)
        return false;
    const std::size_t length = std::strlen(found->pw_name);
    if (length == 0 || length > static_cast<std::size_t>(MAX_PATH)) return false;
    name.assign(found->pw_name, length);
    return true;
}

std::vector<BYTE> GetTokenUserSid() {
    std::vector<BYTE> sid = {kSidRevision, 2, 0, 0, 0, 0, 0, kUnixUserAuthority};
    AppendDword(sid, kUnixUserKind);
    AppendDword(sid, static_cast<DWORD>(::geteuid()));
    return sid;
}

}  // namespace platform
