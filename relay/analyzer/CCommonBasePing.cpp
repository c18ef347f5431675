// The ICMP echo of the connection engine.

#include "relay/analyzer/CIcmpPinger.h"
#include "relay/upstream/CCommonBase.h"

bool CCommonBase::Ping(const char* host) {
    CIcmpPinger pinger;
    return pinger.Ping(host) == 1;
}
