#pragma once
// Where the messages of an HTTP connection begin and end, read from their
// heads: pure functions, no socket inside.

#include <cstdint>
#include <string_view>

struct BodyFraming {
    enum class eKind {
        None,        // no body: the message ends with its head
        Length,      // Content-Length bytes
        Chunked,     // the chunked coding, to its last chunk and trailer
        UntilClose,  // the rest of the stream (responses only)
        Invalid,     // the head contradicts itself
    };
    eKind kind = eKind::None;
    std::uint64_t length = 0;
};

// A request's body: chunked when the last transfer coding is chunked (any
// other coding is invalid), else Content-Length, else none. Several
// Content-Length values must agree.
BodyFraming RequestBodyFraming(std::string_view head);
// A response's body: none for 1xx, 204, 304 and answers to HEAD; chunked
// when the last transfer coding is chunked; else Content-Length; else the
// rest of the stream.
BodyFraming ResponseBodyFraming(std::string_view head, int status, bool answersHead);

// The method, target and version of a request line (empty when missing).
std::string_view RequestMethod(std::string_view head);
std::string_view RequestTarget(std::string_view head);
std::string_view RequestVersion(std::string_view head);
// The version that begins a status line.
std::string_view ResponseVersion(std::string_view head);
// The status code of a response head: -1 unless the status line begins
// "HTTP/" and a version, a blank and three digits.
int ResponseStatus(std::string_view head);
// "HTTP/1.1" or a later version.
bool KeepsHttp11(std::string_view version);
