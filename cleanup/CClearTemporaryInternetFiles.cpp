#include "cleanup/CClearTemporaryInternetFiles.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    UrlCacheEntries(DCT_TEMP_FILES),
    ShellContent(platform::CSIDL_INTERNET_CACHE),
};

}  // namespace

bool CClearTemporaryInternetFiles::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
