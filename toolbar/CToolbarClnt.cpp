#include "toolbar/CToolbarClnt.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/Process.h"
#include "platform/Root.h"
#include "platform/Sockets.h"
#include "platform/Wait.h"

namespace {

constexpr const char* kEngineHost = "127.0.0.1";

// The engine's channel port; a test may name another (but never "any").
platform::UINT ChannelPort() {
    const unsigned port = ToolbarPortOverride().value_or(0);
    return port != 0 ? port : kToolbarChannelPort;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

// The folder of this library, where the control panel is installed beside it.
std::filesystem::path LibraryFolder() {
    return platform::ModuleFolder(reinterpret_cast<const void*>(&LibraryFolder));
}

}  // namespace

CToolbarClnt::CToolbarClnt() : m_PanelFolder(LibraryFolder()) {}

CToolbarClnt::~CToolbarClnt() {
    Stop();
}

CToolbarClnt& CToolbarClnt::Shared() {
    static CToolbarClnt client;
    return client;
}

bool CToolbarClnt::Stop() {
    // The flag goes up first: a run loop that sees its socket closed must
    // not open a new connection that nobody would use.
    {
        std::lock_guard lock(m_SocketCS);
        m_bStopRequested.store(true);
    }
    m_StopEvent.Set();
    CloseSocket();
    return CThreadBase::Stop();
}

int CToolbarClnt::Run() {
    platform::WSADATA data;
    if (platform::WSAStartup(platform::MAKEWORD(2, 2), &data) != 0) return -1;
    if (data.wVersion != platform::MAKEWORD(2, 2)) {
        platform::WSACleanup();
        return -1;
    }
    for (;;) {
        if (!Connect(kEngineHost, ChannelPort())) {
            if (m_bStopRequested.load()) break;
            platform::WaitForSingleObject(m_StopEvent, kReconnectMs);
            continue;
        }
        if (!m_bStopRequested.load()) QueryAll();
        while (!m_bStopRequested.load() && SocketOpen()) {
            if (Receive() <= 0) break;
        }
        if (m_bStopRequested.load()) break;
    }
    CloseSocket();
    platform::WSACleanup();
    return 0;
}

bool CToolbarClnt::Connect(const char* host, platform::UINT port) {
    std::uint32_t address = platform::inet_addr(host);
    if (address == platform::INADDR_NONE_VALUE) {
        const platform::HOSTENT* entry = platform::gethostbyname(host);
        address = 0;
        if (entry && entry->h_addr_list && entry->h_addr_list[0]) std::memcpy(&address, entry->h_addr_list[0], 4);
    }
    CloseSocket();

    const platform::SOCKET s = platform::socket(AF_INET, SOCK_STREAM, 0);
    if (s == platform::INVALID_SOCKET) return false;
    platform::DWORD nonBlocking = 1;
    platform::ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    peer.sin_addr.s_addr = address;
    {
        // Under the lock Stop raises its flag with, so a stop either sees
        // this socket and closes it or comes first and no connect starts.
        std::lock_guard lock(m_SocketCS);
        if (m_bStopRequested.load() ||
            (platform::connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == platform::SOCKET_ERROR &&
             platform::WSAGetLastError() != platform::WSAEWOULDBLOCK)) {
            platform::closesocket(s);
            return false;
        }
        m_Socket = s;
    }
    const platform::DWORD woke =
        platform::WaitForMultipleObjects({m_StopEvent, platform::WaitHandle::SocketConnected(s)}, false,
                                         platform::INFINITE);
    int error = -1;
    if (woke == platform::WAIT_OBJECT_0 + 1) {
        int length = sizeof error;
        if (platform::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0) error = -1;
    }
    if (error != 0) {
        CloseSocket();
        return false;
    }
    m_nBuffered = 0;
    return true;
}

int CToolbarClnt::Receive() {
    platform::SOCKET s;
    {
        std::lock_guard lock(m_SocketCS);
        s = m_Socket;
    }
    if (s == platform::INVALID_SOCKET) return -1;
    for (;;) {
        const platform::DWORD woke = platform::WaitForMultipleObjects(
            {m_StopEvent, platform::WaitHandle::SocketReadable(s)}, false, platform::INFINITE);
        if (woke != platform::WAIT_OBJECT_0 + 1) {
            CloseSocket();
            return -1;
        }
        int got = 0;
        {
            std::lock_guard lock(m_SocketCS);
            // Closed (and perhaps its number reused) while this thread waited.
            if (m_Socket != s) return -1;
            got = platform::recv(s, reinterpret_cast<char*>(m_Buffer) + m_nBuffered,
                                 static_cast<int>(sizeof m_Buffer) - m_nBuffered, 0);
            if (got < 0 && platform::WSAGetLastError() == platform::WSAEWOULDBLOCK) continue;
        }
        if (got <= 0) {
            CloseSocket();
            return -1;
        }
        m_nBuffered += got;
        // Notices may come in pieces, several in one read.
        int used = 0;
        for (; m_nBuffered - used >= kToolbarNoticeSize; used += kToolbarNoticeSize) DispatchNotice(m_Buffer + used);
        std::memmove(m_Buffer, m_Buffer + used, static_cast<std::size_t>(m_nBuffered - used));
        m_nBuffered -= used;
        return got;
    }
}

void CToolbarClnt::DispatchNotice(const std::uint8_t* notice) {
    switch (notice[0]) {
    case TB_NOTICE_STATUS:
        PostToAll(WM_BAND_STATUS, notice[1], 0);
        break;
    case TB_NOTICE_RECEIVED:
        PostToAll(WM_BAND_DATA_IN, ToolbarNoticeValue(notice), 0);
        break;
    case TB_NOTICE_SENT:
        PostToAll(WM_BAND_DATA_OUT, ToolbarNoticeValue(notice), 0);
        break;
    default:
        break;
    }
}

bool CToolbarClnt::SocketOpen() {
    std::lock_guard lock(m_SocketCS);
    return m_Socket != platform::INVALID_SOCKET;
}

void CToolbarClnt::CloseSocket() {
    {
        std::lock_guard lock(m_SocketCS);
        if (m_Socket != platform::INVALID_SOCKET) {
            platform::shutdown(m_Socket, platform::SD_BOTH);
            platform::closesocket(m_Socket);
            m_Socket = platform::INVALID_SOCKET;
        }
    }
    PostToAll(WM_BAND_STATUS, BAND_STATUS_LINK_LOST, 0);
}

int CToolbarClnt::SendRequest(std::uint8_t command) {
    std::unique_lock lock(m_SocketCS);
    if (m_Socket == platform::INVALID_SOCKET) return 0;
    const char request[kToolbarRequestSize] = {0, static_cast<char>(command)};
    const int sent = platform::send(m_Socket, request, kToolbarRequestSize, 0);
    // Half a request would shift every later one: the engine would drop
    // the link anyway, so it is renewed now.
    if (sent > 0 && sent < kToolbarRequestSize) {
        lock.unlock();
        CloseSocket();
    }
    return sent;
}

int CToolbarClnt::StopServer() { return SendRequest(TB_STOP_SERVER); }
int CToolbarClnt::QueryServerState() { return SendRequest(TB_QUERY_SERVER); }
int CToolbarClnt::QueryInFilter() { return SendRequest(TB_QUERY_IN_FILTER); }
int CToolbarClnt::QueryOutFilter() { return SendRequest(TB_QUERY_OUT_FILTER); }
int CToolbarClnt::QueryPrivacy() { return SendRequest(TB_QUERY_PRIVACY); }
int CToolbarClnt::OutFilter(bool on) { return SendRequest(on ? TB_OUT_FILTER_ON : TB_OUT_FILTER_OFF); }
int CToolbarClnt::InFilter(bool on) { return SendRequest(on ? TB_IN_FILTER_ON : TB_IN_FILTER_OFF); }
int CToolbarClnt::PrivacyChain(bool on) { return SendRequest(on ? TB_PRIVACY_ON : TB_PRIVACY_OFF); }

void CToolbarClnt::QueryAll() {
    QueryInFilter();
    QueryOutFilter();
    QueryPrivacy();
    QueryServerState();
}

void CToolbarClnt::AddWindow(platform::HWND window) {
    if (!window) return;
    {
        std::lock_guard lock(m_WindowsCS);
        m_Windows.push_back(window);
    }
    QueryAll();
}

void CToolbarClnt::RemoveWindow(platform::HWND window) {
    if (!window) return;
    std::lock_guard lock(m_WindowsCS);
    const auto it = std::find(m_Windows.begin(), m_Windows.end(), window);
    if (it != m_Windows.end()) m_Windows.erase(it);
}

void CToolbarClnt::PostToAll(platform::UINT message, platform::WPARAM wParam, platform::LPARAM lParam) {
    std::lock_guard lock(m_WindowsCS);
    for (const platform::HWND window : m_Windows) {
        if (window) platform::PostMessage(window, message, wParam, lParam);
    }
}

bool CToolbarClnt::IsPanelRunning() const {
    const auto processes = platform::ProcessSnapshot();
    return std::any_of(processes.begin(), processes.end(), [this](const platform::ProcessEntry& p) {
        return StartsWithNoCase(p.exeFile, m_PanelInfo.mFileName);
    });
}

int CToolbarClnt::Launch() {
    if (IsPanelRunning()) return SendRequest(TB_START_SERVER);
    const platform::Process panel =
        platform::StartProcess((m_PanelFolder / m_PanelInfo.mFileName).string(), {}, m_PanelFolder);
    if (!panel.IsValid()) return 0;
    platform::WaitForInputIdle(panel, kPanelIdleLimitMs);
    Stop();
    Start();
    return 0;
}

void CToolbarClnt::SetPanelProgram(const std::filesystem::path& folder, const std::string& fileName) {
    m_PanelFolder = folder;
    m_PanelInfo.mFileName = fileName;
    m_PanelInfo.mSlashFileName = "/" + fileName;
}
