#include "cleanup/CNetscapeCookies.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ProfileFile(Profile::Netscape, "cookies.txt"),
};

}  // namespace

bool CNetscapeCookies::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
