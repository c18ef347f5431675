#include "settings/CAppliedMarks.h"

#include <string>

#include "platform/Registry.h"
#include "settings/ConfigKeys.h"

namespace {

std::string MarksKey() { return std::string(configkeys::kBackUp) + "\\Applied"; }

}  // namespace

bool CAppliedMarks::IsApplied(std::string_view program) {
    platform::RegKey key;
    if (key.Open(platform::HKEY_CURRENT_USER, MarksKey(), platform::KEY_READ) != platform::ERROR_SUCCESS) {
        return false;
    }
    platform::DWORD value = 0;
    return key.QueryDWORDValue(program, value) == platform::ERROR_SUCCESS && value != 0;
}

void CAppliedMarks::SetApplied(std::string_view program, bool applied) {
    platform::RegKey key;
    if (applied) {
        if (key.Create(platform::HKEY_CURRENT_USER, MarksKey()) == platform::ERROR_SUCCESS) {
            key.SetDWORDValue(program, 1);
        }
    } else if (key.Open(platform::HKEY_CURRENT_USER, MarksKey()) == platform::ERROR_SUCCESS) {
        key.DeleteValue(program);
    }
}
