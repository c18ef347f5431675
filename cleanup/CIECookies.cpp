#include "cleanup/CIECookies.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    UrlCacheEntries(DCT_COOKIES),
    ShellContent(platform::CSIDL_COOKIES),
};

}  // namespace

bool CIECookies::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
