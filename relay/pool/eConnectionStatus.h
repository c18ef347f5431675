#pragma once
// Result of an upstream handshake or of one hop of a chain. The numbers are
// the ones the chain code compares against to decide whom to blame.

enum eConnectionStatus : int {
    CONNECTION_CONNECTED = 0,
    CONNECTION_FAILED = 1,   // the proxy spoken to is at fault
    CONNECTION_REFUSED = 2,  // the proxy answered but would not reach the next hop or destination
};
