#include "cleanup/CClearTelNet.h"

#include <array>
#include <string>
#include <vector>

#include "cleanup/TraceTable.h"

namespace {

using namespace cleanup;

constexpr const char* kTelnetKey = "Software\\Microsoft\\Telnet";
// The client keeps eight numbered entries of each kind.
constexpr int kNumberedEntries = 8;
constexpr std::array kNumbered = {"Machine", "Service", "TermType"};
constexpr std::array kLast = {"LastMachine", "LastService", "LastTermType"};

// The numbered names ("Machine1", "Service1", "TermType1", "Machine2", ...),
// built once; the rows point into them.
const std::vector<std::string>& NumberedNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> built;
        for (int n = 1; n <= kNumberedEntries; ++n)
            for (const char* stem : kNumbered) built.push_back(stem + std::to_string(n));
        return built;
    }();
    return names;
}

const std::vector<Trace>& Traces() {
    static const std::vector<Trace> traces = [] {
        std::vector<Trace> rows;
        for (const std::string& name : NumberedNames())
            rows.push_back(Value(platform::HKEY_CURRENT_USER, kTelnetKey, name.c_str()));
        for (const char* name : kLast)
            rows.push_back(Value(platform::HKEY_CURRENT_USER, kTelnetKey, name));
        return rows;
    }();
    return traces;
}

}  // namespace

bool CClearTelNet::Clear(bool enable) {
    if (!enable) return false;
    SweepTraces(Traces());
    return true;
}
