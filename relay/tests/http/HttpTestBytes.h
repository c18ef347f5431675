#pragma once
// Test bytes for HTTP framing: bodies compressed or chunked the way servers
// send them, and an independent reader of what the relay gives a client
// (heads, chunked or sized bodies, content codings undone), written apart
// from the relay's own parsers so that each checks the other.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace httptest {

std::string Gzip(std::string_view body);
// zlib-wrapped, or raw deflate as some servers send it.
std::string Deflate(std::string_view body, bool raw);
// The chunked coding of body, chunks of the given sizes in turn (the last
// size repeats), then the trailer lines and the blank line.
std::string Chunked(std::string_view body, const std::vector<std::size_t>& sizes, std::string_view trailer = {});

// bytes cut at the given offsets (in order), as reads might cut them.
std::vector<std::string_view> CutAt(std::string_view bytes, const std::vector<std::size_t>& offsets);

struct ReadResponse {
    std::string head;
    std::string body;     // framing and content coding undone
    std::string trailer;  // of a chunked body
    bool whole = false;   // the framing ended where it said
};

// The responses in bytes a client got; answersHead[i] tells whether
// response i answers a HEAD request. A response to the end of the stream is
// whole; a malformed one ends the reading.
std::vector<ReadResponse> ReadResponses(std::string_view bytes, const std::vector<bool>& answersHead = {});

// The value of a head's field (first of that name, any case), or "" with
// found false.
std::string Field(std::string_view head, std::string_view name, bool* found = nullptr);

}  // namespace httptest
