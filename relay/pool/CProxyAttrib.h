#pragma once
// The record of one proxy: address, port, kind, and what the analyzer and
// the chain connects learned about it.

#include <atomic>
#include <string>

#include "common/eProxyType.h"
#include "platform/Types.h"

class CProxyAttrib {
public:
    // Longest text a field keeps; longer input is cut.
    static constexpr std::size_t kMaxText = 50;

    CProxyAttrib();
    CProxyAttrib(const char* address, int port, eProxyType type, const char* country);
    // address in network byte order
    CProxyAttrib(platform::DWORD address, int port, eProxyType type);
    CProxyAttrib(const CProxyAttrib& other);
    CProxyAttrib& operator=(const CProxyAttrib& other);
    virtual ~CProxyAttrib() = default;

    void Init();
    // Empties the texts and the fail count; everything else stays.
    void Clear();
    // A fresh record for address, port and type.
    void Set(const char* address, int port, eProxyType type);

    const char* getIP() const { return m_IP.c_str(); }
    void setIP(const char* ip) { m_IP = Cut(ip); }
    int getPort() const { return m_Port; }
    void setPort(int port) { m_Port = port; }
    eProxyType getType() const { return m_Type; }
    void setType(eProxyType type) { m_Type = type; }
    const char* getCountry() const { return m_Country.c_str(); }
    void setCountry(const char* country) { m_Country = Cut(country); }
    double getRank() const { return m_Rank.load(std::memory_order_relaxed); }
    void setRank(double rank) { m_Rank.store(rank, std::memory_order_relaxed); }
    double getResponseTime() const { return m_ResponseTime; }
    // Also ranks the proxy: 1000 for 0, else 1000 / t.
    void setResponseTime(double t);
    bool getIsAnonymous() const { return m_IsAnonymous; }
    void setIsAnonymous(bool anonymous) { m_IsAnonymous = anonymous; }
    const char* getTimeStamp() const { return m_TimeStamp.c_str(); }
    void setTimeStamp(const char* stamp) { m_TimeStamp = Cut(stamp); }
    bool getNeedAuth() const { return m_NeedAuth; }
    void setNeedAuth(bool needAuth) { m_NeedAuth = needAuth; }
    const char* getGateWay() const { return m_GateWay.c_str(); }
    void setGateWay(const char* gateway) { m_GateWay = Cut(gateway); }
    const char* getFailReason() const { return m_FailReason.c_str(); }
    void setFailReason(const char* reason) { m_FailReason = Cut(reason); }
    int getFailCount() const { return m_FailCount.load(std::memory_order_relaxed); }
    void setFailCount(int count) { m_FailCount.store(count, std::memory_order_relaxed); }
    void EncrementFailCount() { m_FailCount.fetch_add(1, std::memory_order_relaxed); }
    bool getIsPrivate() const { return m_IsPrivate; }
    void setIsPrivate(bool isPrivate) { m_IsPrivate = isPrivate; }
    int getListRow() const { return m_ListRow; }
    void setListRow(int row) { m_ListRow = row; }

    // "UNKNOWN", "HTTP", "HTTPS", "SOCKS4", "SOCKS5"; null for other kinds.
    const char* getTypeAsString() const;

    // Stamps the record with the local date ("%Y-%m-%d") of the moment
    // minCheckTime seconds before now; empty when no date can be formed.
    void syncTimeStamp(unsigned long minCheckTime);

    static platform::DWORD ConvertIP(const char* name);
    static std::string ConvertIP(platform::DWORD address);

private:
    static std::string Cut(const char* text);

    std::string m_IP;
    std::string m_Country;
    std::string m_FailReason;
    std::string m_GateWay;
    std::string m_TimeStamp;
    int m_Port = 0;
    eProxyType m_Type = PROXY_TYPE_UNKNOWN;
    // Rank and fail count of pooled records change on chain-setup workers
    // while others copy the record for logs and views.
    std::atomic<double> m_Rank{0.0};
    double m_ResponseTime = 0.0;
    bool m_NeedAuth = false;
    bool m_IsAnonymous = false;
    bool m_IsPrivate = false;
    std::atomic<int> m_FailCount{0};
    int m_ListRow = -1;
};
