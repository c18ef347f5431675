#pragma once
// The options of one checking thread: its bridge to the page, the time
// limit of every wait of a check, the HTTP-only flag (kept for the page,
// consulted by no check) and the judge hosts the checks ask for through the
// proxy under test.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "relay/analyzer/CProxyConfig.h"

// The public web hosts a proxy is asked to reach. httpHost answers HEAD
// requests (the HTTP and HTTPS tests); its answer must hold marker, the
// host's domain label between dots. socksHost accepts connections on
// socksPort (the SOCKS tests).
struct CJudgeHosts {
    std::string httpHost = "www.google.com";
    std::uint16_t httpPort = 80;
    std::string marker = ".google.";
    std::string socksHost = "www.google.com";
    std::uint16_t socksPort = 80;
};

class CAnalyzerConfig {
public:
    static constexpr int kMinTimeOut = 2000;
    static constexpr int kMaxTimeOut = 10000;

    CAnalyzerConfig() = default;
    // Copies the bridge's log, queue and window, the time-out, the flag and
    // the judges.
    CAnalyzerConfig(const CAnalyzerConfig& other);
    CAnalyzerConfig& operator=(const CAnalyzerConfig& other);
    virtual ~CAnalyzerConfig() = default;

    CProxyConfig& GetProxyConfig() { return m_ProxyConfig; }
    const CProxyConfig& GetProxyConfig() const { return m_ProxyConfig; }

    // Stores ms clamped to kMinTimeOut..kMaxTimeOut; returns what it stored.
    int setTimeOut(int ms);
    int getTimeOut() const { return m_TimeOut.load(); }
    void setOnlyHttp(bool onlyHttp) { m_OnlyHttp.store(onlyHttp); }
    bool getOnlyHttp() const { return m_OnlyHttp.load(); }

    // Taken by each check when it starts.
    void setJudgeHosts(const CJudgeHosts& judges);
    CJudgeHosts getJudgeHosts() const;

    void PostCheckProxyRequest() { m_ProxyConfig.PostCheckProxyRequest(); }
    // The checks run in the verifier; the configuration checks nothing.
    void CheckProxy();

private:
    CProxyConfig m_ProxyConfig;
    std::atomic<int> m_TimeOut{kMinTimeOut};
    std::atomic<bool> m_OnlyHttp{false};
    CJudgeHosts m_Judges;
    mutable std::mutex m_JudgesCS;
};
