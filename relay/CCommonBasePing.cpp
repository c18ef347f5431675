// The ICMP echo of the connection engine.

#include "relay/CCommonBase.h"
#include "relay/CIcmpPinger.h"

bool CCommonBase::Ping(const char* host) {
    CIcmpPinger pinger;
    return pinger.Ping(host) == 1;
}
