#include "cleanup/CIEClearHistory.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    UrlHistoryStore(),
    ShellContent(platform::CSIDL_WINDOWS, "History"),
    ShellContent(platform::CSIDL_HISTORY),
};

}  // namespace

bool CIEClearHistory::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
