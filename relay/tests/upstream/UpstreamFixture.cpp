#include "upstream/UpstreamFixture.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <ostream>

#include "platform/Messages.h"
#include "platform/Root.h"
#include "platform/Sockets.h"
#include "platform/Time.h"
#include "relay/engine/CBaseServer.h"
#include "relay/pool/IPoolHost.h"

namespace upstreamtest {
using Clock = std::chrono::steady_clock;

namespace {

constexpr platform::DWORD kPumpPauseMs = 2;

bool WaitReady(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::max<long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) continue;
        return ready > 0;
    }
}

void ResetLoadStates(CPublicProxyList& lists) {
    for (const eProxyType type : {PROXY_TYPE_HTTP, PROXY_TYPE_HTTPS, PROXY_TYPE_SOCKS4, PROXY_TYPE_SOCKS5}) {
        lists.GetList(type)->SetLoadState(CTProxyList::NOT_LOADED);
    }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const Hop& hop) {
    return out << hop.ip << ':' << hop.port << " type " << hop.type;
}

std::vector<Hop> Hops(const CBProxyChain& chain) {
    std::vector<Hop> hops;
    for (const CProxy* proxy : chain.Snapshot()) hops.push_back({proxy->getIP(), proxy->getPort(), proxy->getType()});
    return hops;
}

TestConnection::~TestConnection() {
    if (upstream >= 0) ::close(upstream);
}

void TestConnection::OnCreateConnection(bool ok) {
    outcomes.push_back(ok);
    answeredOn = platform::GetCurrentThreadId();
    if (!ok) return;
    request = GetRequestCopy();
    FreeRequestCopy();
    hops = Hops(GetChain().GetConnectedHops());
    surplus = TakeUpstreamSurplus();
    // The test reads and writes the socket itself, without notices.
    AsyncSelect(0);
    upstream = Detach();
}

bool StoringHost::PostAddProxy(std::unique_ptr<CProxy> proxy) {
    CBaseServer::m_ProxyPool.IAddProxy(*proxy);
    return FakeHost::PostAddProxy(std::move(proxy));
}

void ChainLogRecorder::ChainLogAddItem(CBProxyChain& chain, const char* destination) {
    std::lock_guard lock(mutex_);
    items_.push_back({Hops(chain), destination ? destination : "<null>"});
}

std::vector<ChainLogRecorder::Item> ChainLogRecorder::Items() {
    std::lock_guard lock(mutex_);
    return items_;
}

std::unique_ptr<TestConnection> NewConnection(std::uint16_t port, bool tunnel, eRequestType request) {
    auto connection = std::make_unique<TestConnection>();
    connection->SetDestinationAddress(htonl(INADDR_LOOPBACK));
    connection->SetDestinationPort(port);
    connection->SetTunnel(tunnel);
    connection->SetRequestType(request);
    return connection;
}

CProxy LoopbackProxy(std::uint16_t port, eProxyType type) { return CProxy("127.0.0.1", port, type); }

pooltest::Row PoolRow(std::uint16_t port, eProxyType type) {
    pooltest::Row row;
    row.ip = "127.0.0.1";
    row.port = std::to_string(port);
    row.type = std::to_string(static_cast<int>(type));
    return row;
}

TestResolver::TestResolver() {
    platform::SetHostResolver([state = state_](const std::string& name, std::vector<std::uint32_t>& addresses) {
        {
            std::lock_guard lock(state->mutex);
            state->lookups.push_back({name, platform::GetCurrentThreadId()});
        }
        if (name != kKnownName) return platform::WSAHOST_NOT_FOUND;
        addresses.push_back(htonl(INADDR_LOOPBACK));
        return 0;
    });
}

TestResolver::~TestResolver() { platform::SetHostResolver({}); }

std::vector<TestResolver::Lookup> TestResolver::Lookups() {
    std::lock_guard lock(state_->mutex);
    return state_->lookups;
}

UpstreamTest::UpstreamTest() {
    CProxyServer::mStopEvent.Reset();
    pooltest::MakeDatabase(DatabasePath());
    SetPoolHost(&host_);
    CBaseServer::SetEngineLogs(&logs_);
    CBaseServer::LogToolTip(std::string());
    Configure({});
}

UpstreamTest::~UpstreamTest() {
    CBaseServer::SetEngineLogs(nullptr);
    CBaseServer::m_ProxyPool.FreeProxyVectorMem();
    SetPoolHost(nullptr);
    {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        CBaseServer::mChainSettings = CChainSettings();
    }
    CProxyServer::mStopEvent.Reset();
}

std::filesystem::path UpstreamTest::DatabasePath() const { return platform::ProgramFolder() / "dbase/proxypool.db"; }

void UpstreamTest::Configure(const ChainOptions& options) {
    CPrivacySettings privacy;
    privacy.mEnableIPShielding = options.length > 0;
    privacy.mEnableProxyChain = 1;
    privacy.mChainLength = static_cast<platform::DWORD>(std::max(options.length, 0));
    privacy.mUsePrivateProxies = options.usePrivate;
    host_.SetPrivacy(privacy);
    host_.usePrivate = options.usePrivate;
    host_.mixChain = true;

    CChainSettings chain;
    chain.SetChainLength(options.length);
    chain.SetUsePrivateProxies(options.usePrivate);
    chain.SetMixChain(true);
    chain.SetBehindFirewall(options.firewall.has_value());
    if (options.firewall) chain.getFireWallProxy() = *options.firewall;
    std::lock_guard lock(CBaseServer::mSettingsCS);
    CBaseServer::mChainSettings = chain;
}

void UpstreamTest::SeedPool(const std::vector<pooltest::Row>& publicRows,
                            const std::vector<pooltest::Row>& privateRows) {
    pooltest::InsertRows(DatabasePath(), "Proxy", publicRows);
    pooltest::InsertRows(DatabasePath(), "KVList", privateRows);
    CProxyMap& pool = CBaseServer::m_ProxyPool;
    pool.FreeProxyVectorMem();
    ResetLoadStates(pool.GetPublicLists());
    ResetLoadStates(pool.GetPrivateLists());
    pool.SetDBInitialized(false);
    pool.Init();
}

bool UpstreamTest::RunSetup(TestConnection& connection, std::chrono::milliseconds limit) {
    if (!connection.StartChainSetupThread()) return false;
    return Pump(connection, limit);
}

bool UpstreamTest::Pump(TestConnection& connection, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        platform::MSG msg;
        while (platform::PeekMessage(msg)) {
            if (msg.hwnd) {
                platform::DispatchMessage(msg);
            } else {
                server_.PreTranslateMessage(msg);
            }
        }
        if (connection.IsSafeToDelete()) return true;
        if (Clock::now() >= deadline) return false;
        platform::Sleep(kPumpPauseMs);
    }
}

namespace {

// Binds s to 127.0.0.1 and a port the kernel picks; that port, or 0.
std::uint16_t BindLoopback(int s) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

}  // namespace

ClosedPort::ClosedPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) { port_ = BindLoopback(socket_.get()); }

FullListener::FullListener() : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
    const std::uint16_t port = BindLoopback(listener_.get());
    if (port == 0 || ::listen(listener_.get(), 0) != 0) return;
    port_ = port;
    // A backlog of 0 still queues one connection: that one fills it.
    filled_ = filler_.Connect(port_, std::chrono::seconds(2));
}

bool SendAll(int fd, std::string_view bytes, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!WaitReady(fd, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

std::string ReadCount(int fd, std::size_t count, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    std::string out;
    char buffer[16384];
    while (out.size() < count && WaitReady(fd, POLLIN, deadline)) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            out.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            break;
        }
    }
    return out;
}

std::string ReadUntilClosed(int fd, std::chrono::milliseconds limit) { return ReadCount(fd, SIZE_MAX, limit); }

std::string Get(const std::string& file) { return "GET /" + file + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n"; }

std::string AbsoluteGet(std::uint16_t originPort, const std::string& file) {
    return "GET http://127.0.0.1:" + std::to_string(originPort) + "/" + file +
           " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
}

std::string Body(const std::string& response) {
    const std::size_t end = response.find("\r\n\r\n");
    return end == std::string::npos ? std::string("<no head>") : response.substr(end + 4);
}

}  // namespace upstreamtest
