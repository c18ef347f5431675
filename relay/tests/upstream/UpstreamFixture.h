#pragma once
// Test support for the chain-setup worker: a connection object without a
// listener, the test thread playing the proxy-server thread (its pump hands
// the 2265 hand-overs to the real CProxyServer::OnAttachSocket), a pool
// database in the test's own root, the pool host that records (and stores)
// the failed proxies the pool posts, and a recording chain log.

#include <chrono>
#include <memory>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pool/PoolFixture.h"
#include "relay/engine/CProxyServer.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/pool/CProxy.h"
#include "relay/upstream/CCommonBase.h"
#include "rig/Loopback.h"
#include "rig/LoopbackClient.h"
#include "support/TempRoot.h"

namespace upstreamtest {

// The values of one connected hop, copied when the upstream is attached.
struct Hop {
    std::string ip;
    int port = 0;
    eProxyType type = PROXY_TYPE_UNKNOWN;
    friend bool operator==(const Hop&, const Hop&) = default;
};
std::ostream& operator<<(std::ostream& out, const Hop& hop);
std::vector<Hop> Hops(const CBProxyChain& chain);

// A connection object with no listener. The upstream socket it is given is
// taken over for plain blocking checks by the test.
class TestConnection : public CCommonBase {
public:
    ~TestConnection() override;

    void OnCreateConnection(bool ok) override;

    std::vector<bool> outcomes;  // every OnCreateConnection, in order
    std::vector<Hop> hops;       // connected hops at the successful attach
    std::string surplus;         // bytes the last proxy sent past its reply
    std::string request;         // the request copy at the attach
    platform::DWORD answeredOn = 0;  // the thread OnCreateConnection ran on
    int upstream = -1;
};

// The pool's view of the engine: stores every failed proxy it posts at
// once, as the util thread would, and records it.
class StoringHost : public pooltest::FakeHost {
public:
    bool PostAddProxy(std::unique_ptr<CProxy> proxy) override;
};

class ChainLogRecorder : public IEngineLogs {
public:
    struct Item {
        std::vector<Hop> hops;
        std::string destination;
    };
    void ChainLogAddItem(CBProxyChain& chain, const char* destination) override;
    std::vector<Item> Items();

private:
    std::mutex mutex_;
    std::vector<Item> items_;
};

// Host names as the tests' resolver answers them: "origin.test" is
// 127.0.0.1, every other name is unknown. No lookup leaves the process.
class TestResolver {
public:
    static constexpr const char* kKnownName = "origin.test";
    struct Lookup {
        std::string name;
        platform::DWORD thread = 0;
    };
    TestResolver();
    ~TestResolver();
    std::vector<Lookup> Lookups();

private:
    struct State {
        std::mutex mutex;
        std::vector<Lookup> lookups;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

struct ChainOptions {
    int length = 0;  // 0: IP shielding off
    bool usePrivate = false;
    std::optional<CProxy> firewall{};
};

// A connection object whose setup goes to 127.0.0.1:port.
std::unique_ptr<TestConnection> NewConnection(std::uint16_t port, bool tunnel, eRequestType request);

// A proxy record on 127.0.0.1.
CProxy LoopbackProxy(std::uint16_t port, eProxyType type);
// A pool row for 127.0.0.1:port of the type (ranked, stamped today).
pooltest::Row PoolRow(std::uint16_t port, eProxyType type);

class UpstreamTest : public kvtest::RootedTest {
protected:
    UpstreamTest();
    ~UpstreamTest() override;

    // The engine's chain settings and the privacy settings behind them.
    void Configure(const ChainOptions& options);
    // Rows of table Proxy (public) and KVList (private); then the pool is
    // (re)started on the database.
    void SeedPool(const std::vector<pooltest::Row>& publicRows, const std::vector<pooltest::Row>& privateRows);

    // Starts the setup of connection and runs this thread's hand-overs until
    // the object is safe to delete again; false when limit passed first.
    bool RunSetup(TestConnection& connection, std::chrono::milliseconds limit = std::chrono::seconds(40));
    bool Pump(TestConnection& connection, std::chrono::milliseconds limit);

    std::filesystem::path DatabasePath() const;

    TestResolver resolver_;
    CProxyServer server_;
    StoringHost host_;
    ChainLogRecorder logs_;
};

// A port on 127.0.0.1 that refuses connections for the object's life: it
// is bound and never listens, so no other socket (of any test process) can
// take it meanwhile.
class ClosedPort {
public:
    ClosedPort();
    std::uint16_t port() const { return port_; }

private:
    kvtest::UniqueFd socket_;
    std::uint16_t port_ = 0;
};

// A listener whose accept queue is full: the kernel answers no further
// connection attempt, so a connect to it stays under way.
class FullListener {
public:
    FullListener();
    std::uint16_t port() const { return port_; }
    bool filled() const { return filled_; }

private:
    kvtest::UniqueFd listener_;
    kvtest::LoopbackClient filler_;
    std::uint16_t port_ = 0;
    bool filled_ = false;
};

// Blocking helpers on a raw socket handle, bounded by limit.
bool SendAll(int fd, std::string_view bytes, std::chrono::milliseconds limit = std::chrono::seconds(5));
std::string ReadUntilClosed(int fd, std::chrono::milliseconds limit = std::chrono::seconds(10));
// Everything that arrives until count bytes are in, the peer closes or the
// limit passes.
std::string ReadCount(int fd, std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5));

// "GET /file HTTP/1.0" to the origin, in origin form or in absolute form.
std::string Get(const std::string& file);
std::string AbsoluteGet(std::uint16_t originPort, const std::string& file);
// The body of a whole HTTP response ("<no head>" without one).
std::string Body(const std::string& response);

}  // namespace upstreamtest
