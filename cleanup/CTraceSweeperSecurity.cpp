// The access-list side of CTraceSweeper: the stored form data of the system
// browser lies under a key that only LocalSystem may change, so the user is
// granted access to it long enough to remove it, and the key's former
// descriptor is put back afterwards. The steps themselves are
// cleanup/AccessList.h, which CIEAutoComlete carries too.

#include <string>
#include <vector>

#include "cleanup/AccessList.h"
#include "cleanup/CTraceSweeper.h"
#include "platform/Account.h"

namespace {

using Bytes = std::vector<platform::BYTE>;

constexpr const char* kProtectedStorage =
    "Software\\Microsoft\\Protected Storage System Provider\\";
constexpr const char* kFormsData = "\\Data\\e161255a-37c3-11d2-bcaa-00c04fd929db";

}  // namespace

bool CTraceSweeper::IsWindowsNTFamily() { return cleanup::access::IsWindowsNTFamily(); }

int CTraceSweeper::GetUserSid(Bytes& sid) { return cleanup::access::GetUserSid(sid); }

std::string CTraceSweeper::GetSidString(const Bytes& sid) { return cleanup::access::GetSidString(sid); }

int CTraceSweeper::GetOldSD(platform::Hive root, const char* subkey, Bytes& sd) {
    return cleanup::access::GetOldSD(root, subkey, sd);
}

int CTraceSweeper::CreateNewSD(const Bytes& userSid, Bytes& sd) {
    return cleanup::access::CreateNewSD(userSid, sd);
}

int CTraceSweeper::RegSetPrivilege(platform::Hive root, const char* subkey, const Bytes& sd,
                                   int recurse) {
    return cleanup::access::RegSetPrivilege(root, subkey, sd, recurse);
}

void CTraceSweeper::ClearProtectedStorageForms() {
    Bytes sid;
    if (IsWindowsNTFamily() && GetUserSid(sid)) {
        const std::string key = kProtectedStorage + GetSidString(sid);
        const std::string forms = key + kFormsData;
        Bytes saved;
        const bool haveSaved = GetOldSD(platform::HKEY_CURRENT_USER, key.c_str(), saved) == 1;
        Bytes granted;
        if (CreateNewSD(sid, granted)) {
            RegSetPrivilege(platform::HKEY_CURRENT_USER, key.c_str(), granted, 0);
            RegSetPrivilege(platform::HKEY_CURRENT_USER, (key + "\\Data").c_str(), granted, 0);
            RegSetPrivilege(platform::HKEY_CURRENT_USER, forms.c_str(), granted, 1);
            platform::RegKey::Root(platform::HKEY_CURRENT_USER).RecurseDeleteKey(forms);
        }
        if (haveSaved) RegSetPrivilege(platform::HKEY_CURRENT_USER, key.c_str(), saved, 0);
    }
    std::string user;
    if (platform::GetUserName(user))
        platform::RegKey::Root(platform::HKEY_LOCAL_MACHINE)
            .RecurseDeleteKey(kProtectedStorage + user + kFormsData);
}
