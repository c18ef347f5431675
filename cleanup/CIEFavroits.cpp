#include "cleanup/CIEFavroits.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ShellContent(platform::CSIDL_FAVORITES),
};

}  // namespace

bool CIEFavroits::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
