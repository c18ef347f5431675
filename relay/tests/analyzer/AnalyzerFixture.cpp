#include "analyzer/AnalyzerFixture.h"

namespace anatest {

CProxy Candidate(std::uint16_t port, const char* address) {
    CProxy proxy(address, port, PROXY_TYPE_UNKNOWN, "unknown");
    proxy.setRank(0);
    return proxy;
}

AnalyzerTest::AnalyzerTest()
    : judge_(kvtest::FakeScript().ExpectUntil("\r\n\r\n").Send(kJudgeReply).Close()) {}

CJudgeHosts LoopbackJudges(std::uint16_t port) {
    CJudgeHosts judges;
    judges.httpHost = "127.0.0.1";
    judges.httpPort = port;
    judges.marker = kMarker;
    judges.socksHost = "127.0.0.1";
    judges.socksPort = port;
    return judges;
}

CJudgeHosts AnalyzerTest::Judges() const { return LoopbackJudges(judge_.port()); }

std::vector<std::vector<std::string>> AnalyzerTest::Rows(const std::string& table) const {
    return pooltest::Query(DatabasePath(), "select IP, Port, Type, Rank, FailReason, Country, ResponseTime from " +
                                               table + " order by Port");
}

pooltest::Row AnalyzerTest::StoredRow(std::uint16_t port, int type, const std::string& rank,
                                      const char* address) {
    pooltest::Row row;
    row.ip = address;
    row.port = std::to_string(port);
    row.type = std::to_string(type);
    row.rank = rank;
    return row;
}

}  // namespace anatest
