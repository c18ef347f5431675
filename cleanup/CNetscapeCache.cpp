#include "cleanup/CNetscapeCache.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ProfileTree(Profile::Netscape, "cache"),
};

}  // namespace

bool CNetscapeCache::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
