#include "cleanup/CIETypedUrls.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    Key(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLs"),
};

}  // namespace

bool CIETypedUrls::Clear(bool enable) {
    if (!enable) return false;
    return SweepTraces(kTraces);
}
