#pragma once
// A real proxy or server the rig started, listening on a loopback port.

#include <cstdint>
#include <memory>
#include <string>

#include "rig/PeerProcess.h"

namespace kvtest {

class Peer {
public:
    Peer(std::string name, std::uint16_t port, std::unique_ptr<PeerProcess> process);

    const std::string& name() const { return name_; }
    std::uint16_t port() const { return port_; }
    // "127.0.0.1:port", as curl's proxy options take it.
    std::string Address() const;
    pid_t processGroup() const { return process_->pid(); }
    std::string Log() const { return process_->Log(); }
    void Stop() const { process_->Stop(); }

private:
    std::string name_;
    std::uint16_t port_;
    std::unique_ptr<PeerProcess> process_;
};

}  // namespace kvtest
