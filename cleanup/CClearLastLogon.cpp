#include "cleanup/CClearLastLogon.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    Value(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
          "DefaultUserName"),
    Value(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
          "AltDefaultUserName"),
    Value(platform::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
          "DefaultUserName"),
    Value(platform::HKEY_LOCAL_MACHINE, "Network\\Logon", "username"),
};

}  // namespace

bool CClearLastLogon::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
