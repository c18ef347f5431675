#include "relay/socks/CSock5SrvrClntSocket.h"

CSock5SrvrClntSocket::CSock5SrvrClntSocket(IRelayClient* owner) : CSocksRelaySock(owner, REQUEST_SOCKS5) {}

SocksStep CSock5SrvrClntSocket::ParseRequest(std::string_view bytes) { return m_Parser.Feed(bytes); }

std::string CSock5SrvrClntSocket::SuccessReply() { return CSocks5RequestParser::SuccessReply(); }

std::string CSock5SrvrClntSocket::FailureReply() { return m_Parser.FailureReplyNow(); }
