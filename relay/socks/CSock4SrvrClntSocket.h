#pragma once
// The destination side of one local SOCKS4 connection (see CSocksRelaySock).

#include "relay/socks/CSocks4RequestParser.h"
#include "relay/socks/CSocksRelaySock.h"

class CSock4SrvrClntSocket : public CSocksRelaySock {
public:
    explicit CSock4SrvrClntSocket(IRelayClient* owner);

    // One block the client sent.
    void HandleSock4Request(const char* data, int length) { HandleClientData(data, length); }

protected:
    // CSocksRelaySock
    SocksStep ParseRequest(std::string_view bytes) override;
    std::string SuccessReply() override;
    std::string FailureReply() override;

private:
    CSocks4RequestParser m_Parser;
};
