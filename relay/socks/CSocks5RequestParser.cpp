#include "relay/socks/CSocks5RequestParser.h"

#include <cstring>

namespace {

constexpr unsigned char kVersion = 0x05;
constexpr unsigned char kConnect = 0x01;
constexpr unsigned char kIPv4 = 0x01;
constexpr unsigned char kName = 0x03;
constexpr unsigned char kIPv6 = 0x04;
constexpr std::size_t kFixedPart = 4;  // version, command, reserved, address type

unsigned char At(std::string_view bytes, std::size_t index) { return static_cast<unsigned char>(bytes[index]); }

std::string Reply(char status) { return std::string{'\x05', status, '\x00', '\x01'} + std::string(6, '\0'); }

void Fail(SocksStep& step, const std::string& reply) {
    step.state = eSocksState::Failed;
    step.reply += reply;
}

// The request's whole length from its first bytes: 0 while unknown.
std::size_t RequestLength(std::string_view in) {
    if (in.size() < kFixedPart) return 0;
    switch (At(in, 3)) {
    case kIPv4:
        return kFixedPart + 4 + 2;
    case kIPv6:
        return kFixedPart + 16 + 2;
    case kName:
        return in.size() > kFixedPart ? kFixedPart + 1 + At(in, 4) + 2 : 0;
    default:
        return 0;
    }
}

}  // namespace

std::string CSocks5RequestParser::SuccessReply() {
    return {'\x05', '\x00', '\x00', '\x01', '\x7F', '\x00', '\x00', '\x01', '\x92', '\x1F'};
}

std::string CSocks5RequestParser::FailureReply() { return Reply('\x01'); }

std::string CSocks5RequestParser::AddressTypeReply() { return Reply('\x08'); }

std::string CSocks5RequestParser::GreetingFailureReply() { return {'\x05', '\xFF'}; }

std::string CSocks5RequestParser::FailureReplyNow() const {
    return greeted_ ? FailureReply() : GreetingFailureReply();
}

SocksStep CSocks5RequestParser::Feed(std::string_view bytes) {
    if (state_ != eSocksState::NeedMore) {
        SocksStep again;
        again.state = state_;
        return again;
    }
    // Each stage is judged as soon as its bytes are in, so the buffer holds
    // at most the longest greeting or request plus one read.
    buffer_.append(bytes);
    SocksStep step;
    if (!greeted_) TakeGreeting(step);
    if (greeted_ && step.state == eSocksState::NeedMore) TakeRequest(step);
    state_ = step.state;
    return step;
}

void CSocks5RequestParser::TakeGreeting(SocksStep& step) {
    const std::string_view in(buffer_);
    if (in.empty()) return;
    if (At(in, 0) != kVersion) return Fail(step, GreetingFailureReply());
    if (in.size() < 2 || in.size() < 2u + At(in, 1)) return;
    greeted_ = true;
    step.reply = {'\x05', '\x00'};
    buffer_.erase(0, 2u + At(in, 1));
}

void CSocks5RequestParser::TakeRequest(SocksStep& step) {
    const std::string_view in(buffer_);
    if (!in.empty() && At(in, 0) != kVersion) return Fail(step, FailureReply());
    if (in.size() >= 2 && At(in, 1) != kConnect) return Fail(step, FailureReply());
    if (in.size() >= kFixedPart && At(in, 3) != kIPv4 && At(in, 3) != kName && At(in, 3) != kIPv6) {
        return Fail(step, AddressTypeReply());
    }
    const std::size_t length = RequestLength(in);
    if (length == 0 || in.size() < length) return;
    if (At(in, 3) == kIPv6) return Fail(step, AddressTypeReply());
    if (At(in, 3) == kName) {
        step.host = std::string(in.substr(kFixedPart + 1, At(in, 4)));
    } else {
        std::memcpy(&step.address, in.data() + 4, sizeof step.address);
    }
    step.port = static_cast<std::uint16_t>((At(in, length - 2) << 8) | At(in, length - 1));
    step.state = eSocksState::Done;
    step.surplus = std::string(in.substr(length));
}
