#include "relay/http/ChttpReqSock.h"

ChttpReqSock::ChttpReqSock() : CRelayClientSock(kMaxReceive), m_Response(this) {}

ChttpReqSock::~ChttpReqSock() = default;

void ChttpReqSock::Free_Objects() {
    Free_Buffer();
    m_Response.Free_Buffer();
}

bool ChttpReqSock::IsSafeToDelete() { return CCommonBase::IsSafeToDelete() && m_Response.IsSafeToDelete(); }

bool ChttpReqSock::IsObjectKilled() { return CCommonBase::IsObjectKilled() && m_Response.IsObjectKilled(); }

void ChttpReqSock::KillObject() {
    CCommonBase::KillObject();
    m_Response.KillObject();
}
