#pragma once
// What a local client asked for; an HTTP request also gets an HTTP proxy as
// the last hop of its chain.

enum eRequestType : int {
    REQUEST_HTTP = 1,
    REQUEST_SOCKS4 = 2,
    REQUEST_SOCKS5 = 3,
};
