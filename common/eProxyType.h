#pragma once
// Kinds of proxy, stored in the pool's tables as decimal numbers.

enum eProxyType : int {
    PROXY_TYPE_UNKNOWN = 1,  // not analysed yet; the default
    PROXY_TYPE_HTTP = 2,
    PROXY_TYPE_HTTPS = 3,    // HTTP CONNECT
    PROXY_TYPE_SOCKS4 = 4,
    PROXY_TYPE_SOCKS5 = 5,
    PROXY_TYPE_GENERAL = 6,  // a local listener that tells the protocol by the first byte
};
