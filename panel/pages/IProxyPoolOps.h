#pragma once
// The pool operations of the proxy pages.

#include <memory>

class CProxy;

class IProxyPoolOps {
public:
    virtual ~IProxyPoolOps() = default;

    virtual bool DeleteAllProxies() = 0;
    // Removes the proxy's rows from the pool at once.
    virtual bool RemoveProxyNow(const CProxy& proxy) = 0;
    // Hands the proxy to the util thread, which removes and deletes it;
    // when that fails the proxy comes back to the caller.
    virtual std::unique_ptr<CProxy> PostRemoveProxy(std::unique_ptr<CProxy> proxy) = 0;
};
