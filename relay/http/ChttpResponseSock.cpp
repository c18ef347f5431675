#include "relay/http/ChttpResponseSock.h"

#include <algorithm>
#include <string>

#include "kvres/RelayStrings.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/IEngineLogs.h"
#include "relay/http/HttpRequestText.h"

namespace {

constexpr std::string_view kFailureAnswer =
    "HTTP/1.0 502 Bad Gateway\r\n"
    "Content-Type: text/plain\r\n"
    "Content-Length: 29\r\n"
    "Connection: close\r\n"
    "\r\n"
    "Cannot find the desired page!";
// A request the filter refused without a block page.
constexpr std::string_view kRefusedAnswer =
    "HTTP/1.0 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
constexpr std::string_view kBadRequestAnswer =
    "HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
constexpr std::string_view kHeadTooLargeAnswer =
    "HTTP/1.0 431 Request Header Fields Too Large\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";

constexpr std::string_view kBlockPageHead = "HTTP/1.0 403 Forbidden\r\nContent-Type: text/html\r\n\r\n";
constexpr unsigned kServerBlockedPage = 1001;
constexpr unsigned kAdBlockedPage = 1002;

// The response stream's output, straight to the client.
// Gathers the small pieces one upstream block gives the client (a
// response's head and the body bytes that came with it) so that they leave
// in one send; large pieces go on as they are, uncopied.
class ClientSink : public IByteSink {
public:
    static constexpr std::size_t kGatherLimit = 4096;

    explicit ClientSink(IRelayClient& client) : m_Client(client) {}
    void Emit(std::string_view bytes) override {
        if (m_Gathered.size() + bytes.size() <= kGatherLimit) {
            m_Gathered.append(bytes);
            return;
        }
        Flush();
        m_Client.QueueToClient(bytes);
    }
    void Flush() {
        m_Client.QueueToClient(m_Gathered);
        m_Gathered.clear();
    }

private:
    IRelayClient& m_Client;
    std::string m_Gathered;
};

}  // namespace

ChttpResponseSock::ChttpResponseSock(IRelayClient* owner) : CRelayServerSock(owner, kMaxReceive) {}

ChttpResponseSock::~ChttpResponseSock() = default;

int ChttpResponseSock::HandleHttpRequest(char* buffer, int& length) {
    m_RequestText = length > 0 ? std::string_view(buffer, static_cast<std::size_t>(length)) : std::string_view();
    m_Host.clear();
    if (length <= 0) {
        CloseBoth();
        return 1;
    }
    SetFirstData(false);
    CBaseServer::EngineLogs().UpdateProgLog(buffer);
    ExtractRequestInfo();

    switch (GetState()) {
    case eLegState::Idle:
        StartSetup(buffer, length);
        break;
    case eLegState::Relaying:
        if (!m_bConnect && (m_Host.empty() || (m_Host == GetDestinationHost() && m_Port == GetDestinationPort()))) {
            SendRequestHead(buffer, length);
        } else {
            // Another destination, or a tunnel, needs an upstream of its own.
            DropUpstream();
            StartSetup(buffer, length);
        }
        break;
    default:
        break;
    }
    return 0;
}

void ChttpResponseSock::ExtractRequestInfo() {
    const HttpRequestInfo info = ::ExtractRequestInfo(m_RequestText);
    m_Host = info.host;
    m_Port = info.port;
    m_bConnect = info.connect;
}

bool ChttpResponseSock::MakeRequestRelative(char* buffer, int& length) {
    return length > 0 && ::MakeRequestRelative(buffer, static_cast<std::size_t>(length));
}

void ChttpResponseSock::SendConnectionSuccess(const char* host) {
    std::string answer = "HTTP/1.1 200 OK\r\nHost: ";
    answer += host ? host : "";
    answer += "\r\n\r\n";
    Owner().QueueToClient(answer);
    m_bConnect = false;
}

void ChttpResponseSock::ForwardTunnelData(const char* data, int length) {
    if (length > 0) QueueToServer({data, static_cast<std::size_t>(length)});
}

bool ChttpResponseSock::HandleClientBlock(char* data, int length) {
    // Bytes for a tunnel (also those sent before it is open) pass as they
    // are.
    const eLegState state = GetState();
    if (state == eLegState::Tunnel || (state == eLegState::SettingUp && GetTunnel())) {
        ForwardTunnelData(data, length);
        return true;
    }
    return TakeClientBytes({data, static_cast<std::size_t>(length)});
}

bool ChttpResponseSock::TakeClientBytes(std::string_view input) {
    const auto open = [this] {
        const eLegState state = GetState();
        return state != eLegState::Closing && state != eLegState::Closed;
    };
    while (open()) {
        if (m_bHeld) {
            m_HeldBytes.append(input);
            return true;
        }
        const CRequestFramer::Step step = m_Requests.Next(input);
        switch (step.kind) {
        case CRequestFramer::eStep::NeedMore:
            return true;
        case CRequestFramer::eStep::Head:
            if (GetState() == eLegState::SettingUp) {
                // The road of the setup still running decides how this one
                // goes: it waits, and so does the client.
                m_bHeld = true;
                m_HeldHead = step.bytes;
                m_HeldBytes = input;
                return true;
            }
            if (!OnRequestHead(step.bytes)) return false;
            break;
        case CRequestFramer::eStep::Body:
            QueueToServer(step.bytes);
            break;
        case CRequestFramer::eStep::End:
            break;
        case CRequestFramer::eStep::Failed:
            SendBlockAnswer(m_Requests.Failure() == CRequestFramer::eFailure::HeadTooLarge ? kHeadTooLargeAnswer
                                                                                            : kBadRequestAnswer);
            return false;
        }
    }
    return false;
}

bool ChttpResponseSock::OnRequestHead(std::string_view head) {
    m_Head.assign(head);
    int length = static_cast<int>(m_Head.size());
    const eRequestState verdict = CBaseServer::FilterSend(m_Head.data(), length);
    length = std::clamp(length, 0, static_cast<int>(m_Head.size()));
    switch (verdict) {
    case REQUEST_STATE_PASS:
        return HandleHttpRequest(m_Head.data(), length) == 0;
    case REQUEST_STATE_BLOCK_SERVER:
        SendBlockPage(kServerBlockedPage);
        return false;
    case REQUEST_STATE_BLOCK_AD:
        SendBlockPage(kAdBlockedPage);
        return false;
    default:
        SendBlockAnswer(kRefusedAnswer);
        return false;
    }
}

void ChttpResponseSock::ReleaseHeldRequest() {
    if (!m_bHeld) return;
    m_bHeld = false;
    const std::string head = std::move(m_HeldHead);
    const std::string rest = std::move(m_HeldBytes);
    m_HeldHead.clear();
    m_HeldBytes.clear();
    if (OnRequestHead(head)) TakeClientBytes(rest);
}

bool ChttpResponseSock::UpstreamFull() const { return m_bHeld || CRelayServerSock::UpstreamFull(); }

void ChttpResponseSock::SendBlockPage(unsigned id) {
    std::string page(kBlockPageHead);
    page += kvres::RelayStrings().LoadString(id);
    SendBlockAnswer(page);
}

void ChttpResponseSock::StartSetup(const char* buffer, int length) {
    SetDestinationHost(m_Host);
    SetDestinationAddress(0);
    SetDestinationPort(m_Port);
    SetTunnel(m_bConnect);
    SetRequestType(REQUEST_HTTP);
    SetRequest(buffer, length);
    m_ScriptState.Reset();
    m_Responses.Reset();
    BeginSetup();
    if (!StartChainSetupThread()) SendFailureAnswer();
}

void ChttpResponseSock::OpenRelay() {
    const std::string surplus = TakeUpstreamSurplus();
    if (GetTunnel()) {
        SendConnectionSuccess(GetDestinationHost().c_str());
        Owner().QueueToClient(surplus);
        SetState(eLegState::Tunnel);
        return;
    }
    Owner().QueueToClient(surplus);
    std::string request = GetRequestCopy();
    FreeRequestCopy();
    // The stored request goes first, then its body as far as it came.
    const CPendingBuffer arrived = TakeToServer();
    SetState(eLegState::Relaying);
    SendRequestHead(request.data(), static_cast<int>(request.size()));
    QueueToServer(arrived.Front());
    ReleaseHeldRequest();
}

bool ChttpResponseSock::RelayUpstreamBlock(char* buffer, int length) {
    if (GetState() != eLegState::Relaying) return CRelayServerSock::RelayUpstreamBlock(buffer, length);
    ClientSink sink(Owner());
    const bool open = m_Responses.Feed({buffer, static_cast<std::size_t>(length)}, sink);
    sink.Flush();
    if (m_Responses.SwitchedProtocols()) {
        // Both ways the bytes now belong to the protocol switched to.
        m_Requests.StartTunnel();
        SetState(eLegState::Tunnel);
    }
    return open;
}

void ChttpResponseSock::UpstreamEnded() {
    if (GetState() != eLegState::Relaying) return;
    ClientSink sink(Owner());
    m_Responses.End(sink);
    sink.Flush();
}

bool ChttpResponseSock::StartBody(std::string_view head) { return CBaseServer::FilterRecvHead(head, m_ScriptState); }

std::size_t ChttpResponseSock::FilterBody(char* text, std::size_t size, bool last) {
    int length = static_cast<int>(size);
    CBaseServer::FilterRecv(text, length, m_ScriptState, last);
    return static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(size)));
}

void ChttpResponseSock::SendRequestHead(char* data, int length) {
    if (length <= 0) return;
    std::string_view head(data, static_cast<std::size_t>(length));
    // Only the blanks a rewrite put in front are dropped.
    if (!UpstreamTakesAbsoluteForm() && MakeRequestRelative(data, length)) head.remove_prefix(CountLeadingBlanks(head));
    m_Responses.ExpectResponse(head);
    QueueToServer(head);
}

void ChttpResponseSock::SendFailureAnswer() { SendBlockAnswer(kFailureAnswer); }

void ChttpResponseSock::SendBlockAnswer(std::string_view page) { AnswerAndClose(page); }
