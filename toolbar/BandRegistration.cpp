#include "toolbar/BandRegistration.h"

#include <string>

#include "platform/Registry.h"
#include "platform/Root.h"
#include "toolbar/BandIds.h"

namespace band_registration {

namespace {

using platform::HKEY_CLASSES_ROOT;
using platform::HKEY_LOCAL_MACHINE;
using platform::RegKey;

const std::string kClassKey = std::string("CLSID\\") + kToolBandClsid;
const std::string kAppIdKey = std::string("AppID\\") + kBandStripAppId;
const std::string kModuleKey = std::string("AppID\\") + kBandStripModuleKey;
const std::string kTypeLibKey = std::string("TypeLib\\") + kBandStripLibId;

// A key's default value (or a named one); false when any step fails.
bool Set(platform::Hive hive, const std::string& key, const std::string& name, const std::string& value) {
    RegKey k;
    return k.Create(hive, key) == platform::ERROR_SUCCESS && k.SetStringValue(name, value) == platform::ERROR_SUCCESS;
}

bool MakeKey(platform::Hive hive, const std::string& key) {
    RegKey k;
    return k.Create(hive, key) == platform::ERROR_SUCCESS;
}

bool Gone(platform::LONG result) {
    return result == platform::ERROR_SUCCESS || result == platform::ERROR_FILE_NOT_FOUND;
}

bool DeleteTree(platform::Hive hive, const std::string& key) {
    return Gone(RegKey::Root(hive).RecurseDeleteKey(key));
}

platform::HRESULT Result(bool ok) { return ok ? platform::S_OK : platform::E_FAIL; }

}  // namespace

std::filesystem::path ModulePath() {
    return platform::ModuleFolder(reinterpret_cast<const void*>(&ModulePath)) / kBandStripFile;
}

platform::HRESULT ApplyModuleScript() {
    platform::RegistryBatch batch;
    return Result(Set(HKEY_CLASSES_ROOT, kAppIdKey, "", kBandStripAppName) &&
                  Set(HKEY_CLASSES_ROOT, kModuleKey, "AppID", kBandStripAppId));
}

platform::HRESULT RemoveModuleScript() {
    platform::RegistryBatch batch;
    const bool app = DeleteTree(HKEY_CLASSES_ROOT, kAppIdKey);
    const bool module = DeleteTree(HKEY_CLASSES_ROOT, kModuleKey);
    return Result(app && module);
}

platform::HRESULT ApplyToolBandScript(const std::filesystem::path& modulePath) {
    platform::RegistryBatch batch;
    const std::string progIdKey = kToolBandProgId;
    const std::string independentKey = kToolBandIndependentProgId;
    const bool ok = Set(HKEY_CLASSES_ROOT, progIdKey, "", kToolBandName) &&
                    Set(HKEY_CLASSES_ROOT, progIdKey + "\\CLSID", "", kToolBandClsid) &&
                    Set(HKEY_CLASSES_ROOT, independentKey, "", kToolBandClassName) &&
                    Set(HKEY_CLASSES_ROOT, independentKey + "\\CLSID", "", kToolBandClsid) &&
                    Set(HKEY_CLASSES_ROOT, independentKey + "\\CurVer", "", kToolBandProgId) &&
                    Set(HKEY_CLASSES_ROOT, kClassKey, "", kToolBandName) &&
                    Set(HKEY_CLASSES_ROOT, kClassKey + "\\ProgID", "", kToolBandProgId) &&
                    Set(HKEY_CLASSES_ROOT, kClassKey + "\\VersionIndependentProgID", "", kToolBandIndependentProgId) &&
                    MakeKey(HKEY_CLASSES_ROOT, kClassKey + "\\Programmable") &&
                    Set(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32", "", modulePath.string()) &&
                    Set(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
                    Set(HKEY_CLASSES_ROOT, kClassKey, "AppID", kBandStripAppId) &&
                    Set(HKEY_CLASSES_ROOT, kClassKey + "\\TypeLib", "", kBandStripLibId) &&
                    Set(HKEY_LOCAL_MACHINE, kBrowserToolbarKey, kToolBandClsid, kToolBandName);
    return Result(ok);
}

platform::HRESULT RemoveToolBandScript() {
    platform::RegistryBatch batch;
    const bool progId = DeleteTree(HKEY_CLASSES_ROOT, kToolBandProgId);
    const bool independent = DeleteTree(HKEY_CLASSES_ROOT, kToolBandIndependentProgId);
    const bool classKey = DeleteTree(HKEY_CLASSES_ROOT, kClassKey);
    const bool toolbar = RemoveBrowserToolbarValue() == platform::S_OK;
    return Result(progId && independent && classKey && toolbar);
}

// The library carries its own type information, as the class key says.
platform::HRESULT RegisterTypeLib(const std::filesystem::path& modulePath) {
    platform::RegistryBatch batch;
    const std::string version = kTypeLibKey + "\\1.0";
    return Result(Set(HKEY_CLASSES_ROOT, version, "", kBandStripLibName) &&
                  Set(HKEY_CLASSES_ROOT, version + "\\0\\linux", "", modulePath.string()) &&
                  Set(HKEY_CLASSES_ROOT, version + "\\FLAGS", "", "0") &&
                  Set(HKEY_CLASSES_ROOT, version + "\\HELPDIR", "", modulePath.parent_path().string()));
}

platform::HRESULT UnregisterTypeLib() {
    return Result(DeleteTree(HKEY_CLASSES_ROOT, kTypeLibKey));
}

platform::HRESULT RemoveBrowserToolbarValue() {
    RegKey key;
    const platform::LONG opened = key.Open(HKEY_LOCAL_MACHINE, kBrowserToolbarKey);
    if (opened == platform::ERROR_FILE_NOT_FOUND) return platform::S_OK;
    if (opened != platform::ERROR_SUCCESS) return platform::E_FAIL;
    return Result(Gone(key.DeleteValue(kToolBandClsid)));
}

}  // namespace band_registration
