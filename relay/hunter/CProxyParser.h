#pragma once
// Finds proxy addresses in the text of a downloaded page and adds each one
// to the pool: an address joined to its port by ":" (a dotted IPv4 address
// or a host name), or a bare IPv4 address followed, within the next nine
// words, by a word that is a plausible port. Private, loop-back and
// link-local IPv4 addresses are refused.
//
// The hunter calls LeechProxies once per page with the text trimmed and in
// lower case. Only the hunter thread parses.

#include <array>
#include <atomic>
#include <optional>
#include <string>

class CHunterConfig;
class CProxyConfig;

class CProxyParser {
public:
    // A word this long or longer does not fit the word buffers and is
    // passed over.
    static constexpr std::size_t kWordBufferSize = 500;

    // Kinds of the last address accepted.
    enum eAddressKind { ADDRESS_IP = 0, ADDRESS_HOST = 1, ADDRESS_NONE = 2 };

    CProxyParser();
    CProxyParser(const CProxyParser& other);
    CProxyParser& operator=(const CProxyParser& other);
    ~CProxyParser() = default;

    // Tokenises text in place. True when the text was used up or a stop was
    // asked for on the configuration's bridge; false when an exception ended
    // the parse (what was added so far stays in the pool).
    bool LeechProxies(char* text, CHunterConfig* config);

    // The number of proxies added by this parser so far.
    int GetAddedCount() const { return m_nAdded; }

    static bool IsIP(const std::string& word);
    static bool IsIPOnly(const std::string& word);
    static bool IsHost(const std::string& word);
    static bool IsHostOnly(const std::string& word);
    static bool IsPort(const std::string& word);
    // Whether word is a standard port: no port is (false), and no check
    // asks.
    static bool IsStandardPort(const std::string& word);
    static bool BeginsWith(const std::string& text, const std::string& prefix);

    // The decimal value of the leading digits; none when there is no digit or
    // the value does not fit an int.
    static std::optional<int> DecimalValue(const std::string& text);

private:
    bool CheckFullProxyID();
    bool CheckProxyOnly();
    bool CheckPort();
    // Moves the characters outside set at the end of the second buffer in
    // front of its part in set; true when the buffer then holds only
    // characters of set.
    bool ProcessToken(const char* set);
    bool AddProxyToPool(const std::string& proxy);

    int m_nAdded = 0;
    std::string m_Delimiters;
    std::string m_AddressChars;
    std::string m_PortChars;
    const char* m_pWord = nullptr;
    std::array<char, kWordBufferSize> m_Word{};
    std::array<char, kWordBufferSize> m_Check{};
    std::string m_PendingAddress;
    std::string m_Colon;
    CProxyConfig* m_pBridge = nullptr;

    // The kind of the last address accepted, shared by every parser.
    static std::atomic<int> msAddressKind;
};
