#include "cleanup/CClearNetworkHistory.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ShellTree(platform::CSIDL_NETHOOD),
};

}  // namespace

bool CClearNetworkHistory::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
