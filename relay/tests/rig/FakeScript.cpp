#include "rig/FakeScript.h"

#include <utility>

namespace kvtest {

FakeScript& FakeScript::Expect(std::size_t count) {
    steps_.push_back({FakeStep::Kind::Expect, count, {}, {}});
    return *this;
}

FakeScript& FakeScript::ExpectUntil(std::string delimiter) {
    steps_.push_back({FakeStep::Kind::ExpectUntil, 0, std::move(delimiter), {}});
    return *this;
}

FakeScript& FakeScript::Send(std::string bytes) {
    steps_.push_back({FakeStep::Kind::Send, 0, std::move(bytes), {}});
    return *this;
}

FakeScript& FakeScript::SendInPieces(std::string bytes, std::size_t pieceSize,
                                     std::chrono::milliseconds gap) {
    steps_.push_back({FakeStep::Kind::Send, pieceSize, std::move(bytes), gap});
    return *this;
}

FakeScript& FakeScript::Silence(std::chrono::milliseconds duration) {
    steps_.push_back({FakeStep::Kind::Silence, 0, {}, duration});
    return *this;
}

FakeScript& FakeScript::Close() {
    steps_.push_back({FakeStep::Kind::Close, 0, {}, {}});
    return *this;
}

FakeScript& FakeScript::EndSending() {
    steps_.push_back({FakeStep::Kind::EndSending, 0, {}, {}});
    return *this;
}

FakeScript& FakeScript::Echo() {
    steps_.push_back({FakeStep::Kind::Echo, 0, {}, {}});
    return *this;
}

}  // namespace kvtest
