#include "cleanup/CEmptyRecycleBin.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    RecycleBins(),
};

}  // namespace

bool CEmptyRecycleBin::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
