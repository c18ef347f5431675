#include "cleanup/COperaTypedUrls.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ProfileFile(Profile::Opera, "opera.dir"),
    ProfileFile(Profile::Opera, "global.dat"),
};

}  // namespace

bool COperaTypedUrls::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
