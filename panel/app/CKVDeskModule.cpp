#include "panel/app/CKVDeskModule.h"

#include <string>

#include "platform/Registry.h"

namespace {

CKVDeskModule::ObjectMap& Map() {
    static CKVDeskModule::ObjectMap map;
    return map;
}

bool Succeeded(platform::LONG result) { return result == platform::ERROR_SUCCESS; }

}  // namespace

void CKVDeskModule::SetObjectMap(ObjectMap map) { Map() = std::move(map); }

bool CKVDeskModule::RegisterAppId() {
    platform::RegKey appId;
    if (!Succeeded(appId.Create(platform::HKEY_CLASSES_ROOT, std::string("AppID\\") + kAppId))) return false;
    if (!Succeeded(appId.SetStringValue("", "KVDesk"))) return false;
    platform::RegKey exe;
    if (!Succeeded(exe.Create(platform::HKEY_CLASSES_ROOT, "AppID\\KVDesk.EXE"))) return false;
    return Succeeded(exe.SetStringValue("AppID", kAppId));
}

bool CKVDeskModule::UnregisterAppId() {
    platform::RegKey root;
    if (!Succeeded(root.Open(platform::HKEY_CLASSES_ROOT, "AppID"))) return true;
    for (const char* key : {kAppId, "KVDesk.EXE"}) {
        const platform::LONG result = root.RecurseDeleteKey(key);
        if (!Succeeded(result) && result != platform::ERROR_FILE_NOT_FOUND) return false;
    }
    return true;
}

bool CKVDeskModule::RegisterClassObjects(eNameClaim claim) {
    return !Map().registerClassObjects || Map().registerClassObjects(claim);
}

void CKVDeskModule::RevokeClassObjects() {
    if (Map().revokeClassObjects) Map().revokeClassObjects();
}

bool CKVDeskModule::RegisterServer() { return !Map().registerServer || Map().registerServer(); }

bool CKVDeskModule::UnregisterServer() { return !Map().unregisterServer || Map().unregisterServer(); }
