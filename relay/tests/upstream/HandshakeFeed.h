#pragma once
// Feeds a reply to a handshake parser in chunks of a given size and reports
// what the parser asked to send and when it decided, so tables of replies
// can be checked whole and split into single bytes alike.

#include <algorithm>
#include <string>
#include <string_view>

#include "relay/upstream/CUpstreamHandshake.h"

namespace kvtest {

struct FeedOutcome {
    std::string opening;        // what Start asked to send
    std::string later;          // what later steps asked to send
    std::size_t laterAt = 0;    // bytes fed when later was first asked for
    bool done = false;
    std::size_t doneAt = 0;     // bytes fed when the parser decided
    eConnectionStatus status = CONNECTION_FAILED;
    std::string surplus;
};

inline FeedOutcome FeedInChunks(CUpstreamHandshake& handshake, std::string_view reply,
                                std::size_t chunk) {
    FeedOutcome outcome;
    HandshakeStep step = handshake.Start();
    outcome.opening = step.send;
    std::size_t fed = 0;
    while (!step.done() && fed < reply.size()) {
        const std::string_view piece = reply.substr(fed, chunk);
        fed += piece.size();
        step = handshake.Feed(piece);
        if (!step.send.empty() && outcome.later.empty()) {
            outcome.laterAt = fed;
        }
        outcome.later += step.send;
    }
    outcome.done = step.done();
    outcome.doneAt = fed;
    outcome.status = step.status;
    outcome.surplus = step.surplus;
    return outcome;
}

// Where feeding in chunks stops when the parser needs `needed` bytes.
inline std::size_t ChunkEnd(std::size_t needed, std::size_t chunk, std::size_t total) {
    return std::min(total, (needed + chunk - 1) / chunk * chunk);
}

// Bytes written as a string, for tables: Bytes({0x05, 0x00}).
inline std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

}  // namespace kvtest
