#pragma once
// The chunked transfer coding of one message body as a step parser: bytes
// in; out come the chunk data (views into the bytes given), the end of the
// body, or a failure. No socket inside, so it is tested with byte arrays
// split anywhere.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CChunkedBody {
public:
    // A chunk-size line with its extensions, and all trailer lines together.
    static constexpr std::size_t kMaxLine = 4096;
    static constexpr std::size_t kMaxTrailer = 64 * 1024;

    enum class eStep { NeedMore, Data, End, Failed };
    struct Step {
        eStep kind = eStep::NeedMore;
        std::string_view data;  // Data: chunk bytes, a view into the input
    };

    // Takes bytes from the front of input (it shrinks by what was taken) up
    // to the next step. After End or Failed it takes nothing more until
    // Reset.
    Step Next(std::string_view& input);
    // The trailer lines of an ended body, each with its line end; empty
    // without trailer fields.
    const std::string& Trailer() const { return m_Trailer; }
    void Reset();

private:
    enum class eState { SizeLine, Data, DataEnd, Trailer, Done, Failed };

    // Collects one line (to its LF) into m_Line; false while it is not whole.
    bool CollectLine(std::string_view& input, std::size_t limit);
    bool ParseSizeLine();
    Step Fail();

    eState m_State = eState::SizeLine;
    std::string m_Line;
    std::uint64_t m_Left = 0;
    std::string m_Trailer;
};
