#include "rig/Peer.h"

#include <utility>

#include "rig/Loopback.h"

namespace kvtest {

Peer::Peer(std::string name, std::uint16_t port, std::unique_ptr<PeerProcess> process)
    : name_(std::move(name)), port_(port), process_(std::move(process)) {}

std::string Peer::Address() const {
    return LoopbackAddress(port_);
}

}  // namespace kvtest
