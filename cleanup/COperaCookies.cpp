#include "cleanup/COperaCookies.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ProfileFile(Profile::Opera, "cookies4.dat"),
    ProfileTree(Profile::Opera, "cache4"),
};

}  // namespace

bool COperaCookies::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
