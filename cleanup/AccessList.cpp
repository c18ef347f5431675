#include "cleanup/AccessList.h"

#include "platform/Account.h"

namespace cleanup::access {

namespace {

using platform::BYTE;
using platform::DWORD;
using platform::WORD;

constexpr platform::REGSAM kReadControl = 0x00020000;
constexpr platform::REGSAM kWriteDac = 0x00040000;
constexpr DWORD kHighBit = 0x80000000u;
constexpr std::size_t kMaxKeyName = 260;

constexpr BYTE kSidRevision = 1;
constexpr std::size_t kSidHead = 8;  // revision, count, six-byte authority
constexpr std::size_t kMaxSubAuthorities = 15;
constexpr BYTE kNtAuthority = 5;
constexpr DWORD kLocalSystemRid = 18;

constexpr BYTE kDescriptorRevision = 1;
constexpr WORD kDaclPresent = 0x0004;
constexpr WORD kSelfRelative = 0x8000;
constexpr DWORD kDescriptorHead = 20;
constexpr BYTE kAclRevision = 2;
constexpr std::size_t kAclHead = 8;
constexpr std::size_t kAceHead = 8;  // type, flags, size, access mask
constexpr BYTE kAccessAllowed = 0;
constexpr BYTE kObjectAndContainerInherit = 3;
constexpr DWORD kAllKeyAccess = 0xF003F;

void PutWord(Bytes& out, WORD value) {
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void PutDword(Bytes& out, DWORD value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<BYTE>(value >> shift));
}

DWORD GetDword(const Bytes& in, std::size_t at) {
    DWORD value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | in[at + i];
    return value;
}

bool IsValidSid(const Bytes& sid) {
    return sid.size() >= kSidHead && sid[0] == kSidRevision && sid[1] <= kMaxSubAuthorities &&
           sid.size() == kSidHead + 4u * sid[1];
}

Bytes LocalSystemSid() {
    Bytes sid = {kSidRevision, 1, 0, 0, 0, 0, 0, kNtAuthority};
    PutDword(sid, kLocalSystemRid);
    return sid;
}

void PutAllowedAce(Bytes& out, const Bytes& sid) {
    out.push_back(kAccessAllowed);
    out.push_back(kObjectAndContainerInherit);
    PutWord(out, static_cast<WORD>(kAceHead + sid.size()));
    PutDword(out, kAllKeyAccess);
    out.insert(out.end(), sid.begin(), sid.end());
}

}  // namespace

bool IsWindowsNTFamily() { return (platform::GetVersion() & kHighBit) == 0; }

int GetUserSid(Bytes& sid) {
    Bytes user = platform::GetTokenUserSid();
    if (!IsValidSid(user)) return 0;
    sid = std::move(user);
    return 1;
}

std::string GetSidString(const Bytes& sid) {
    if (!IsValidSid(sid)) return {};
    std::string text = "S-1-" + std::to_string(sid[kSidHead - 1]);
    for (std::size_t i = 0; i < sid[1]; ++i) text += "-" + std::to_string(GetDword(sid, kSidHead + 4 * i));
    return text;
}

int GetOldSD(platform::Hive root, const char* subkey, Bytes& sd) {
    platform::RegKey key;
    if (!subkey || key.Open(root, subkey, kReadControl) != platform::ERROR_SUCCESS) return 0;
    return key.GetKeySecurity(sd) == platform::ERROR_SUCCESS ? 1 : 0;
}

int CreateNewSD(const Bytes& userSid, Bytes& sd) {
    if (!IsValidSid(userSid)) return 0;
    const Bytes system = LocalSystemSid();
    const std::size_t aclSize = kAclHead + 2 * kAceHead + userSid.size() + system.size();
    Bytes built = {kDescriptorRevision, 0};
    PutWord(built, kDaclPresent | kSelfRelative);
    PutDword(built, 0);  // owner
    PutDword(built, 0);  // group
    PutDword(built, 0);  // SACL
    PutDword(built, kDescriptorHead);
    built.push_back(kAclRevision);
    built.push_back(0);
    PutWord(built, static_cast<WORD>(aclSize));
    PutWord(built, 2);  // entries
    PutWord(built, 0);
    PutAllowedAce(built, userSid);
    PutAllowedAce(built, system);
    sd = std::move(built);
    return 1;
}

int RegSetPrivilege(platform::Hive root, const char* subkey, const Bytes& sd, int recurse) {
    if (!subkey) return 0;
    {
        platform::RegKey key;
        if (key.Open(root, subkey, kWriteDac) != platform::ERROR_SUCCESS ||
            key.SetKeySecurity(sd) != platform::ERROR_SUCCESS)
            return 0;
    }
    if (!recurse) return 1;
    platform::RegKey key;
    DWORD subKeys = 0;
    if (key.Open(root, subkey, platform::KEY_READ) != platform::ERROR_SUCCESS ||
        key.QueryInfoKey(&subKeys, nullptr) != platform::ERROR_SUCCESS)
        return 0;
    std::string name;
    for (DWORD index = 0; index < subKeys; ++index) {
        const platform::LONG read = key.EnumKey(index, name);
        if (read == platform::ERROR_NO_MORE_ITEMS) break;
        // A name that would not fit the name buffer is skipped, never cut.
        if (read != platform::ERROR_SUCCESS || name.size() > kMaxKeyName) continue;
        RegSetPrivilege(root, (std::string(subkey) + "\\" + name).c_str(), sd, 1);
    }
    return 1;
}

}  // namespace cleanup::access
