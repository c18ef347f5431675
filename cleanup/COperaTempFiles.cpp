#include "cleanup/COperaTempFiles.h"

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr Trace kTraces[] = {
    ProfileFile(Profile::Opera, "cookies.dat"),
    ProfileFile(Profile::Opera, "global.dat"),
    ProfileFile(Profile::Opera, "vlink4.dat"),
};

}  // namespace

bool COperaTempFiles::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(kTraces);
    return true;
}
