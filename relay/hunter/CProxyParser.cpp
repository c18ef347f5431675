#include "relay/hunter/CProxyParser.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

#include "relay/engine/CBaseServer.h"
#include "relay/hunter/CHunterConfig.h"
#include "relay/pool/CProxy.h"

std::atomic<int> CProxyParser::msAddressKind{CProxyParser::ADDRESS_NONE};

namespace {

constexpr char kDelimiters[] = " <>\n\r\t;,#{}[]()*&/\\\"'@?!$%^=+";
constexpr char kAddressChars[] = "-_qwertyuioplkjhgfdsazxcvbnmQWERTYUIOPLKJHGFDSAZXCVBNM1234567890.:";
constexpr char kPortChars[] = "0123456789";

// Private, loop-back and link-local beginnings; 172.16.0.0/12 is checked
// apart because its second octet is a range.
constexpr const char* kRefusedPrefixes[] = {"192.168.", "169.254.", "127.", "10.", "0"};

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsLetterOrDigit(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// Position of the n-th "." (n from 1), or npos.
std::size_t NthDot(const std::string& word, int n) {
    std::size_t at = std::string::npos;
    for (int i = 0; i < n; ++i) {
        at = word.find('.', at == std::string::npos ? 0 : at + 1);
        if (at == std::string::npos) break;
    }
    return at;
}

bool InSharedPrivateRange(const std::string& word) {
    if (!CProxyParser::BeginsWith(word, "172.")) return false;
    const std::size_t end = word.find('.', 4);
    if (end == std::string::npos) return false;
    const auto second = CProxyParser::DecimalValue(word.substr(4, end - 4));
    return second && *second >= 16 && *second <= 31;
}

// The address part (before any ":") is four dot-separated groups of digits:
// such a word is an IPv4 address or nothing, never a host name.
bool IsDottedQuad(const std::string& word) {
    const std::string address = word.substr(0, word.find(':'));
    if (address.empty()) return false;
    if (std::count(address.begin(), address.end(), '.') != 3) return false;
    return std::all_of(address.begin(), address.end(), [](char c) { return c == '.' || IsDigit(c); });
}

}  // namespace

CProxyParser::CProxyParser()
    : m_Delimiters(kDelimiters), m_AddressChars(kAddressChars), m_PortChars(kPortChars), m_Colon(":") {}

CProxyParser::CProxyParser(const CProxyParser& other) = default;
CProxyParser& CProxyParser::operator=(const CProxyParser& other) = default;

bool CProxyParser::LeechProxies(char* text, CHunterConfig* config) {
    m_pBridge = config ? &config->m_ProxyConfig : nullptr;
    msAddressKind.store(ADDRESS_NONE);
    int window = -1;
    try {
        char* at = text;
        while (at && *at) {
            at += std::strspn(at, m_Delimiters.c_str());
            if (!*at) break;
            const std::size_t length = std::strcspn(at, m_Delimiters.c_str());
            char* next = at + length;
            if (*next) *next++ = '\0';
            m_pWord = at;
            at = next;

            if (m_pBridge && m_pBridge->getShouldStop()) return true;
            if (length >= kWordBufferSize) continue;
            std::memcpy(m_Word.data(), m_pWord, length + 1);
            std::memcpy(m_Check.data(), m_pWord, length + 1);

            if (window > 0 && window < 10) {
                if (CheckPort()) {
                    window = -1;
                } else {
                    ++window;
                }
            }
            if (std::strchr(m_Word.data(), '.')) {
                if (std::strchr(m_Word.data(), ':')) {
                    if (CheckFullProxyID()) window = -1;
                } else if (CheckProxyOnly()) {
                    window = 1;
                }
            }
        }
    } catch (...) {
        return false;
    }
    return true;
}

bool CProxyParser::ProcessToken(const char* set) {
    char* buffer = m_Check.data();
    char* first = std::strpbrk(buffer, set);
    if (!first) return false;
    std::reverse(first, first + std::strlen(first));
    char* again = std::strpbrk(first, set);
    if (again) std::reverse(again, again + std::strlen(again));
    return std::strspn(buffer, set) == std::strlen(buffer);
}

bool CProxyParser::CheckFullProxyID() {
    if (!ProcessToken(m_AddressChars.c_str())) return false;
    const std::string word(m_Check.data());
    if (IsIP(word)) {
        msAddressKind.store(ADDRESS_IP);
    } else if (!IsDottedQuad(word) && IsHost(word)) {
        msAddressKind.store(ADDRESS_HOST);
    } else {
        return false;
    }
    return AddProxyToPool(word);
}

bool CProxyParser::CheckProxyOnly() {
    if (!ProcessToken(m_AddressChars.c_str())) return false;
    const std::string word(m_Check.data());
    if (IsIPOnly(word)) {
        msAddressKind.store(ADDRESS_IP);
    } else if (!IsDottedQuad(word) && IsHostOnly(word)) {
        msAddressKind.store(ADDRESS_HOST);
    } else {
        return false;
    }
    m_PendingAddress = word;
    return true;
}

bool CProxyParser::CheckPort() {
    if (!ProcessToken(m_PortChars.c_str())) return false;
    const std::string word(m_Check.data());
    if (!IsPort(word)) return false;
    if (msAddressKind.load() == ADDRESS_HOST) return false;
    m_PendingAddress += m_Colon;
    m_PendingAddress += word;
    return AddProxyToPool(m_PendingAddress);
}

bool CProxyParser::AddProxyToPool(const std::string& proxy) {
    const std::size_t colon = proxy.find(':');
    if (colon == std::string::npos) return false;
    const auto port = DecimalValue(proxy.substr(colon + 1));
    if (!port) return false;
    const std::string address = proxy.substr(0, colon);
    // The record would keep a cut name: another host's.
    if (address.size() > CProxyAttrib::kMaxText) return false;
    CProxy found(address.c_str(), *port, PROXY_TYPE_UNKNOWN, "unknown");
    CBaseServer::m_ProxyPool.IAddProxy(found);
    if (m_pBridge) m_pBridge->AddProxy(found);
    ++m_nAdded;
    return true;
}

std::optional<int> CProxyParser::DecimalValue(const std::string& text) {
    std::size_t i = 0;
    long long value = 0;
    while (i < text.size() && IsDigit(text[i])) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) return std::nullopt;
        ++i;
    }
    if (i == 0) return std::nullopt;
    return static_cast<int>(value);
}

bool CProxyParser::BeginsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool CProxyParser::IsIPOnly(const std::string& word) {
    if (word.empty() || !IsDigit(word.back())) return false;
    if (std::any_of(word.begin(), word.end(), IsLetter)) return false;
    if (NthDot(word, 4) != std::string::npos) return false;
    const std::size_t first = NthDot(word, 1);
    const std::size_t second = NthDot(word, 2);
    const std::size_t third = NthDot(word, 3);
    if (third == std::string::npos || third <= 4 || second <= 2 || first == 0) return false;
    for (const char* prefix : kRefusedPrefixes) {
        if (BeginsWith(word, prefix)) return false;
    }
    return !InSharedPrivateRange(word);
}

bool CProxyParser::IsIP(const std::string& word) {
    if (!IsIPOnly(word)) return false;
    return word.find(':', NthDot(word, 3)) != std::string::npos;
}

bool CProxyParser::IsHostOnly(const std::string& word) {
    if (word.empty() || !IsLetterOrDigit(word.back())) return false;
    const std::size_t first = NthDot(word, 1);
    const std::size_t second = NthDot(word, 2);
    return first != std::string::npos && first > 0 && second != std::string::npos;
}

bool CProxyParser::IsHost(const std::string& word) {
    if (word.empty() || !IsLetterOrDigit(word.back())) return false;
    const std::size_t dot = word.find('.');
    if (dot == std::string::npos || dot == 0) return false;
    const std::size_t colon = word.find(':');
    if (colon == std::string::npos || colon < dot + 2) return false;
    const std::string port = word.substr(colon + 1);
    return std::none_of(port.begin(), port.end(),
                        [](char c) { return c == '.' || c == '-' || c == '_' || IsLetter(c); });
}

bool CProxyParser::IsPort(const std::string& word) {
    const bool refused = std::any_of(word.begin(), word.end(), [](char c) {
        return c == '-' || c == '_' || c == '.' || c == ':' || IsLetter(c);
    });
    if (refused) return false;
    const auto value = DecimalValue(word);
    return value && *value >= 80 && *value <= 10000;
}

bool CProxyParser::IsStandardPort(const std::string&) { return false; }
