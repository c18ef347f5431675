#pragma once
// The destination side of one local SOCKS5 connection (see CSocksRelaySock).

#include "relay/socks/CSocks5RequestParser.h"
#include "relay/socks/CSocksRelaySock.h"

class CSock5SrvrClntSocket : public CSocksRelaySock {
public:
    explicit CSock5SrvrClntSocket(IRelayClient* owner);

    // One block the client sent.
    void HandleSock5Request(const char* data, int length) { HandleClientData(data, length); }

protected:
    // CSocksRelaySock
    SocksStep ParseRequest(std::string_view bytes) override;
    std::string SuccessReply() override;
    std::string FailureReply() override;

private:
    CSocks5RequestParser m_Parser;
};
