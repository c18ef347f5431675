#include "cleanup/CNetscapeHistory.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ProfileFile(Profile::Netscape, "history.dat"),
};

}  // namespace

bool CNetscapeHistory::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
