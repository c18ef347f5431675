#include "settings/CAdvancedFiltration.h"

#include "settings/RegValues.h"

namespace {

constexpr const char* kSubKey = "Advanced";

constexpr regvalues::DwordValue<CAdvancedFiltration> kValues[] = {
    {"_DISABLE_TIMER_SCRIPTS", &CAdvancedFiltration::mDisableTimerScripts},
    {"_DISABLE_WND_CLOSEUP_EVENTS", &CAdvancedFiltration::mDisableWndCloseupEvents},
    {"_REMOVE_STATUS_MODIFIER", &CAdvancedFiltration::mRemoveStatusModifier},
    {"_REMOVE_CONTEXT_MENU", &CAdvancedFiltration::mRemoveContextMenu},
    {"_DISABLE_JAVA_APPLETS", &CAdvancedFiltration::mDisableJavaApplets},
};

}  // namespace

bool CAdvancedFiltration::SetRegistry(const platform::RegKey& filterationKey) const {
    platform::RegKey key;
    if (key.Create(filterationKey, kSubKey) != platform::ERROR_SUCCESS) return false;
    regvalues::WriteDWORDs(key, *this, kValues);
    return true;
}

bool CAdvancedFiltration::QueryRegistry(const platform::RegKey& filterationKey) {
    platform::RegKey key;
    if (key.Open(filterationKey, kSubKey) != platform::ERROR_SUCCESS) return SetRegistry(filterationKey);
    regvalues::ReadDWORDs(key, *this, kValues);
    return true;
}
