#pragma once
// The client's half of an HTTP connection as a step parser: which bytes
// are a request head (collected whole, however it was split, up to
// kMaxHead), which a body (by Content-Length or chunked, passed on as it
// is), where a message ends, and when every later byte belongs to a tunnel
// (after a CONNECT head). A new request begins only where the previous one
// ended. No socket inside.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "relay/http/CChunkedBody.h"
#include "relay/http/CHeadCollector.h"

class CRequestFramer {
public:
    // Longest request head taken.
    static constexpr std::size_t kMaxHead = 64 * 1024;

    enum class eStep {
        NeedMore,  // every byte given was taken
        Head,      // bytes: one whole request head (valid until the next call)
        Body,      // bytes: body or tunnel bytes as they came (a view into the input)
        End,       // the message ended
        Failed,    // see Failure(); nothing more is taken
    };
    enum class eFailure { None, HeadTooLarge, BadFraming };
    struct Step {
        eStep kind = eStep::NeedMore;
        std::string_view bytes;
    };

    // Takes bytes from the front of input (it shrinks by what was taken) up
    // to the next step.
    Step Next(std::string_view& input);
    eFailure Failure() const { return m_Failure; }
    // Every later byte is a tunnel's (the server switched protocols).
    void StartTunnel() { m_State = eState::Tunnel; }
    bool InTunnel() const { return m_State == eState::Tunnel; }

private:
    enum class eState { Head, Length, Chunked, Ended, Tunnel, Failed };

    Step Fail(eFailure failure);
    // The body that follows the head just collected.
    Step BeginBody();

    CHeadCollector m_Head{kMaxHead};
    CChunkedBody m_Chunks;
    eState m_State = eState::Head;
    std::uint64_t m_Left = 0;
    eFailure m_Failure = eFailure::None;
};
