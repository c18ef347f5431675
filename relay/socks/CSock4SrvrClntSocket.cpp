#include "relay/socks/CSock4SrvrClntSocket.h"

#include "platform/Sockets.h"

CSock4SrvrClntSocket::CSock4SrvrClntSocket(IRelayClient* owner) : CSocksRelaySock(owner, REQUEST_SOCKS4) {}

SocksStep CSock4SrvrClntSocket::ParseRequest(std::string_view bytes) { return m_Parser.Feed(bytes); }

std::string CSock4SrvrClntSocket::SuccessReply() {
    // The upstream socket's own address and port; zeros when unknown.
    sockaddr_in local{};
    int length = sizeof local;
    if (!GetSockName(reinterpret_cast<sockaddr*>(&local), &length) || local.sin_family != AF_INET) local = {};
    return CSocks4RequestParser::SuccessReply(local.sin_port, local.sin_addr.s_addr);
}

std::string CSock4SrvrClntSocket::FailureReply() { return CSocks4RequestParser::FailureReply(); }
