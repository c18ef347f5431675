#pragma once
// Checks one proxy by connecting through it: the time the connection takes
// (stored as the response time, which ranks the proxy), the protocol it
// speaks (a real request for a judge host of the configuration through it),
// and its country from the pool's table. A failed check sets the rank to
// -1 and says why in the fail reason.
//
// Every wait (connect, each send, each receive) is bounded by the
// configuration's time-out and ends at once when the bridge's stop event is
// set. Threads: the check runs on one worker, which owns the socket; Abort
// may come from any thread and only shuts the socket down, the owner closes
// it.

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/eProxyType.h"
#include "platform/SocketHandle.h"
#include "platform/Types.h"
#include "relay/analyzer/CAnalyzerConfig.h"

class CProxy;
class CProxyMap;

class CProxyVerifyer {
public:
    static constexpr int kBufferSize = 1024;

    // Fail reasons the check writes into the proxy.
    static constexpr const char* kTimeout = "Timeout";
    static constexpr const char* kSendFailed = "Error when sending data";
    static constexpr const char* kReceiveFailed = "Error receiving data";
    static constexpr const char* kUnexpected = "Unexpected response from proxy";
    static constexpr const char* kNeedAuth = "Sock5 Proxy Need Auth.";

    // config: the options and bridge of the checks; pool: where countries
    // are looked up (none: the country is left as it is).
    explicit CProxyVerifyer(CAnalyzerConfig* config, CProxyMap* pool = nullptr);
    // Valid only for construction and destruction.
    CProxyVerifyer();
    // Copies the configuration, the pool, the address and port under test
    // and the proxy; the copy opens sockets of its own.
    CProxyVerifyer(const CProxyVerifyer& other);
    CProxyVerifyer& operator=(const CProxyVerifyer& other);
    virtual ~CProxyVerifyer();

    // Type 1: the full check of proxy. 2..5: only that protocol's test,
    // against the address and port of the last full check. Other types:
    // false.
    bool CheckProxy(CProxy* proxy, eProxyType type);

    bool Ping();
    bool VerifyHttpExternal();
    bool VerifyHttpsExternal();
    bool VerifySocks4();
    bool VerifySocks5();

    // Any thread: shuts an open socket down both ways, which ends the
    // owner's waits on it.
    void Abort();
    // Owner only: closes the socket.
    void CloseSocket();

    // 3 for ports 80, 8080 and 3128, 5 for 1080, else 0.
    static int ResolveType(int port);
    // Sets the type and, unless it is unknown, clears the fail reason.
    void SetProxyType(eProxyType type);
    void SetProxyAnonymous(bool anonymous);
    // Marks the proxy as unusable ("Error in coneection", rank -1). False.
    bool ErrorInConnection();
    // A fresh non-blocking TCP socket as the verifier's own; false when none
    // can be made.
    bool OpenSocket();
    // False, with the socket closed, once a stop is requested.
    bool StillOk();
    // Nothing to find for the checks: true.
    bool GetLocalIP() const;
    // The check does not judge anonymity: the proxy's flag stays as it was.
    void CheckAnonymaty();

private:
    bool FullCheck();
    // Connects to the address and port under test; logs text on success.
    bool Connect(const char* text);
    // Sends all of bytes; on failure the socket is closed and, unless a stop
    // was asked for, the proxy marked.
    bool SendRequest(const std::string& bytes);
    // Reads into the response buffer until at least minimum bytes, or (with
    // a delimiter) until it arrived, the buffer is full or the time is up.
    // The count read; 0, with the socket closed and the proxy marked, when
    // nothing came.
    int ReceiveResponse(std::size_t minimum, const char* delimiter);
    // The response read so far.
    std::string_view Response() const;
    // An unexpected answer: fail reason, socket closed; false.
    bool Unexpected();
    // Waits for the socket or the stop event; false on stop or time-out.
    bool WaitForSocket(bool write, platform::DWORD ms);
    bool Stopping() const;
    void Log(const std::string& text);
    // The judge address of the SOCKS tests in network order; 0 when it
    // cannot be resolved.
    platform::DWORD JudgeSocksAddress() const;
    std::string JudgeAuthority() const;
    bool JudgeAnswered() const;

    CAnalyzerConfig* m_pConfig = nullptr;
    CProxyMap* m_pPool = nullptr;
    std::uint16_t m_Port = 0;
    std::string m_Address;
    // m_Address resolved, network order; 0 when it names no host.
    platform::DWORD m_ResolvedAddress = 0;
    CProxy* m_pProxy = nullptr;
    std::vector<char> m_Buffer;
    std::size_t m_Received = 0;
    // The judges of the check under way.
    CJudgeHosts m_Judges;
    platform::SOCKET m_Socket = platform::INVALID_SOCKET;
    // Guards m_Socket between its owner and Abort.
    mutable std::mutex m_SocketCS;
};
