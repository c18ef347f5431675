#pragma once
// What a scripted fake upstream does on one accepted connection, step by
// step. Built by chaining:
//
//   FakeScript().Expect(3).Send("\x05\x00").Expect(10)
//               .SendInPieces(reply, 1, 20ms).Close();
//
// A script that does not end with Close keeps the connection open
// afterwards, recording what arrives, until the client closes, the fake
// stops or FakeUpstream::kHoldLimit passes.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace kvtest {

struct FakeStep {
    enum class Kind {
        Expect,       // read until count more bytes are in
        ExpectUntil,  // read until bytes (a delimiter) is in
        Send,         // send bytes, in pieces of count bytes (0: whole) with gap between them
        Silence,      // read without answering for gap
        Close,        // close the connection
        EndSending,   // end the stream towards the client and go on reading
        Echo,         // send back whatever arrives until the client closes
    };
    Kind kind;
    std::size_t count = 0;
    std::string bytes;
    std::chrono::milliseconds gap{0};
};

class FakeScript {
public:
    FakeScript& Expect(std::size_t count);
    FakeScript& ExpectUntil(std::string delimiter);
    FakeScript& Send(std::string bytes);
    FakeScript& SendInPieces(std::string bytes, std::size_t pieceSize,
                             std::chrono::milliseconds gap = std::chrono::milliseconds(20));
    FakeScript& Silence(std::chrono::milliseconds duration);
    FakeScript& Close();
    FakeScript& EndSending();
    FakeScript& Echo();

    const std::vector<FakeStep>& steps() const { return steps_; }

private:
    std::vector<FakeStep> steps_;
};

}  // namespace kvtest
