#include "relay/socks/CSocksRelaySock.h"

CSocksRelaySock::CSocksRelaySock(IRelayClient* owner, eRequestType type)
    : CRelayServerSock(owner, kMaxReceive), m_Type(type) {}

CSocksRelaySock::~CSocksRelaySock() = default;

void CSocksRelaySock::HandleClientData(const char* data, int length) {
    if (length <= 0) return;
    const std::string_view bytes(data, static_cast<std::size_t>(length));
    switch (GetState()) {
    case eLegState::Idle: {
        SocksStep step = ParseRequest(bytes);
        if (step.state == eSocksState::Failed) {
            AnswerAndClose(step.reply);
        } else {
            Owner().QueueToClient(step.reply);
            if (step.state == eSocksState::Done && GetState() == eLegState::Idle) StartSetup(step);
        }
        break;
    }
    case eLegState::SettingUp:
    case eLegState::Tunnel:
        // Relayed unchanged; kept until the upstream is attached.
        QueueToServer(bytes);
        break;
    default:
        break;
    }
}

void CSocksRelaySock::StartSetup(const SocksStep& request) {
    SetFirstData(false);
    // A name is resolved by the worker, as the HTTP listener's names are.
    SetDestinationHost(request.host);
    SetDestinationAddress(request.host.empty() ? request.address : 0);
    SetDestinationPort(request.port);
    SetTunnel(true);
    SetRequestType(m_Type);
    SetRequest(nullptr, 0);
    BeginSetup();
    // Bytes sent right after the request follow it upstream.
    QueueToServer(request.surplus);
    // A destination that cannot be reached fails without any connection.
    const bool named = !request.host.empty();
    if ((!named && request.address == 0) || request.port == 0 || !StartChainSetupThread()) SendFailureAnswer();
}

void CSocksRelaySock::OpenRelay() {
    FreeRequestCopy();
    SetState(eLegState::Tunnel);
    Owner().QueueToClient(SuccessReply());
    Owner().QueueToClient(TakeUpstreamSurplus());
}

void CSocksRelaySock::SendFailureAnswer() { AnswerAndClose(FailureReply()); }

void CSocksRelaySock::ClientClosed() {
    // A request cut short: the client may still read.
    if (GetState() == eLegState::Idle) {
        SendFailureAnswer();
        return;
    }
    CRelayServerSock::ClientClosed();
}
