#include "relay/pool/CProxyAttrib.h"

#include <cstring>
#include <ctime>

#include "relay/pool/ProxyAddress.h"

CProxyAttrib::CProxyAttrib() = default;

CProxyAttrib::CProxyAttrib(const char* address, int port, eProxyType type, const char* country) {
    setIP(address);
    setPort(port);
    setType(type);
    setCountry(country);
}

CProxyAttrib::CProxyAttrib(platform::DWORD address, int port, eProxyType type) {
    Set(::ConvertIP(address).c_str(), port, type);
}

CProxyAttrib::CProxyAttrib(const CProxyAttrib& other) { *this = other; }

CProxyAttrib& CProxyAttrib::operator=(const CProxyAttrib& other) {
    if (this == &other) return *this;
    m_IP = other.m_IP;
    m_Country = other.m_Country;
    m_FailReason = other.m_FailReason;
    m_GateWay = other.m_GateWay;
    m_TimeStamp = other.m_TimeStamp;
    m_Port = other.m_Port;
    m_Type = other.m_Type;
    setRank(other.getRank());
    m_ResponseTime = other.m_ResponseTime;
    m_NeedAuth = other.m_NeedAuth;
    m_IsAnonymous = other.m_IsAnonymous;
    m_IsPrivate = other.m_IsPrivate;
    setFailCount(other.getFailCount());
    m_ListRow = other.m_ListRow;
    return *this;
}

void CProxyAttrib::Init() { *this = CProxyAttrib(); }

void CProxyAttrib::Clear() {
    m_IP.clear();
    m_Country.clear();
    m_FailReason.clear();
    m_GateWay.clear();
    m_TimeStamp.clear();
    setFailCount(0);
}

void CProxyAttrib::Set(const char* address, int port, eProxyType type) {
    setRank(0);
    m_ResponseTime = 0;
    Clear();
    m_IsPrivate = false;
    m_ListRow = -1;
    setIP(address);
    m_Port = port;
    m_Type = type;
}

void CProxyAttrib::setResponseTime(double t) {
    m_ResponseTime = t;
    setRank(t == 0 ? 1000.0 : (1.0 / t) * 1000.0);
}

const char* CProxyAttrib::getTypeAsString() const {
    switch (m_Type) {
    case PROXY_TYPE_UNKNOWN: return "UNKNOWN";
    case PROXY_TYPE_HTTP: return "HTTP";
    case PROXY_TYPE_HTTPS: return "HTTPS";
    case PROXY_TYPE_SOCKS4: return "SOCKS4";
    case PROXY_TYPE_SOCKS5: return "SOCKS5";
    default: return nullptr;
    }
}

void CProxyAttrib::syncTimeStamp(unsigned long minCheckTime) {
    m_TimeStamp.clear();
    const std::time_t moment = std::time(nullptr) - static_cast<std::time_t>(minCheckTime);
    std::tm local{};
    if (!localtime_r(&moment, &local)) return;
    char text[kMaxText + 1];
    if (std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0) return;
    m_TimeStamp = text;
}

platform::DWORD CProxyAttrib::ConvertIP(const char* name) { return ::ConvertIP(name); }

std::string CProxyAttrib::ConvertIP(platform::DWORD address) { return ::ConvertIP(address); }

std::string CProxyAttrib::Cut(const char* text) {
    if (!text) return {};
    return std::string(text, strnlen(text, kMaxText));
}
