#include "relay/analyzer/CAnalyzerConfig.h"

#include <algorithm>

CAnalyzerConfig::CAnalyzerConfig(const CAnalyzerConfig& other) { *this = other; }

CAnalyzerConfig& CAnalyzerConfig::operator=(const CAnalyzerConfig& other) {
    if (this == &other) return *this;
    m_ProxyConfig = other.m_ProxyConfig;
    m_TimeOut.store(other.m_TimeOut.load());
    m_OnlyHttp.store(other.m_OnlyHttp.load());
    setJudgeHosts(other.getJudgeHosts());
    return *this;
}

int CAnalyzerConfig::setTimeOut(int ms) {
    const int stored = std::clamp(ms, kMinTimeOut, kMaxTimeOut);
    m_TimeOut.store(stored);
    return stored;
}

void CAnalyzerConfig::setJudgeHosts(const CJudgeHosts& judges) {
    std::lock_guard lock(m_JudgesCS);
    m_Judges = judges;
}

CJudgeHosts CAnalyzerConfig::getJudgeHosts() const {
    std::lock_guard lock(m_JudgesCS);
    return m_Judges;
}

void CAnalyzerConfig::CheckProxy() {}
