#include "cleanup/CClearRunHistory.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    Key(platform::HKEY_CURRENT_USER,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"),
};

}  // namespace

bool CClearRunHistory::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
