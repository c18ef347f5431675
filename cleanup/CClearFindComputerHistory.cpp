#include "cleanup/CClearFindComputerHistory.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    Key(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Search Assistant\\ACMru"),
    Key(platform::HKEY_CURRENT_USER,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU"),
    Key(platform::HKEY_CURRENT_USER,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU"),
    Key(platform::HKEY_CURRENT_USER,
        "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
        "{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ContainingTextMRU"),
    Key(platform::HKEY_CURRENT_USER,
        "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
        "{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ComputerNameMRU"),
};

}  // namespace

bool CClearFindComputerHistory::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
