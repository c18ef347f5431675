#include "cleanup/COperaHistory.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ProfileFolder(Profile::Opera, "cach4"),
};

}  // namespace

bool COperaHistory::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
