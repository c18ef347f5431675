#pragma once
// The origin server of the rig: python3's http.server on 127.0.0.1, serving
// generated files whose bytes cover every byte value (CR, LF and NUL
// included), so a relay that alters any byte is caught.

#include <cstdint>
#include <map>
#include <string>

#include "rig/Peer.h"

namespace kvtest {

struct OriginFile {
    std::string name;  // a plain file name, no folders
    std::size_t size = 0;
};

class Origin {
public:
    Origin(const Peer& peer, std::map<std::string, std::string> contents);

    const Peer& peer() const { return peer_; }
    std::uint16_t port() const { return peer_.port(); }
    // "http://127.0.0.1:port/name".
    std::string Url(const std::string& name) const;
    // The exact bytes served as name; throws std::out_of_range for others.
    const std::string& Content(const std::string& name) const;

    // The bytes a file of that name and size holds.
    static std::string MakeContent(const std::string& name, std::size_t size);

private:
    const Peer& peer_;
    std::map<std::string, std::string> contents_;
};

}  // namespace kvtest
