#include "cleanup/CIEAutoComlete.h"

#include "cleanup/AccessList.h"

using cleanup::access::Bytes;

bool CIEAutoComlete::Clear(bool) { return false; }

bool CIEAutoComlete::IsWindowsNTFamily() { return cleanup::access::IsWindowsNTFamily(); }

int CIEAutoComlete::GetUserSid(Bytes& sid) { return cleanup::access::GetUserSid(sid); }

std::string CIEAutoComlete::GetSidString(const Bytes& sid) { return cleanup::access::GetSidString(sid); }

int CIEAutoComlete::GetOldSD(platform::Hive root, const char* subkey, Bytes& sd) {
    return cleanup::access::GetOldSD(root, subkey, sd);
}

int CIEAutoComlete::CreateNewSD(const Bytes& userSid, Bytes& sd) {
    return cleanup::access::CreateNewSD(userSid, sd);
}

int CIEAutoComlete::RegSetPrivilege(platform::Hive root, const char* subkey, const Bytes& sd,
                                    int recurse) {
    return cleanup::access::RegSetPrivilege(root, subkey, sd, recurse);
}
