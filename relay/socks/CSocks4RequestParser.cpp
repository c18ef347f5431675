#include "relay/socks/CSocks4RequestParser.h"

#include <cstring>

namespace {

constexpr unsigned char kVersion = 0x04;
constexpr unsigned char kConnect = 0x01;

unsigned char At(std::string_view bytes, std::size_t index) { return static_cast<unsigned char>(bytes[index]); }

SocksStep Failed() {
    SocksStep step;
    step.state = eSocksState::Failed;
    step.reply = CSocks4RequestParser::FailureReply();
    return step;
}

}  // namespace

std::string CSocks4RequestParser::SuccessReply(std::uint16_t networkPort, platform::DWORD networkAddress) {
    std::string reply{'\x00', '\x5A'};
    reply.append(reinterpret_cast<const char*>(&networkPort), sizeof networkPort);
    reply.append(reinterpret_cast<const char*>(&networkAddress), sizeof networkAddress);
    return reply;
}

std::string CSocks4RequestParser::FailureReply() { return std::string{'\x00', '\x5B'} + std::string(6, '\0'); }

SocksStep CSocks4RequestParser::Feed(std::string_view bytes) {
    if (state_ != eSocksState::NeedMore) {
        SocksStep again;
        again.state = state_;
        return again;
    }
    // Judge fails a request past its bound, so the buffer holds at most
    // the longest request plus one read.
    buffer_.append(bytes);
    SocksStep step = Judge();
    state_ = step.state;
    return step;
}

SocksStep CSocks4RequestParser::Judge() const {
    const std::string_view in(buffer_);
    if (!in.empty() && At(in, 0) != kVersion) return Failed();
    if (in.size() >= 2 && At(in, 1) != kConnect) return Failed();
    if (in.size() < kFixedPart) return {};
    const std::size_t end = in.find('\0', kFixedPart);
    if (end == std::string_view::npos) {
        if (in.size() - kFixedPart > kMaxUserId) return Failed();
        return {};
    }
    if (end - kFixedPart > kMaxUserId) return Failed();
    SocksStep step;
    step.port = static_cast<std::uint16_t>((At(in, 2) << 8) | At(in, 3));
    std::size_t last = end;
    // 0.0.0.x names a host after the user id (SOCKS4a).
    if (At(in, 4) == 0 && At(in, 5) == 0 && At(in, 6) == 0 && At(in, 7) != 0) {
        last = in.find('\0', end + 1);
        if (last == std::string_view::npos) {
            if (in.size() - (end + 1) > kMaxName) return Failed();
            return {};
        }
        if (last - (end + 1) > kMaxName) return Failed();
        step.host = std::string(in.substr(end + 1, last - (end + 1)));
    } else {
        std::memcpy(&step.address, in.data() + 4, sizeof step.address);
    }
    step.state = eSocksState::Done;
    step.surplus = std::string(in.substr(last + 1));
    return step;
}
