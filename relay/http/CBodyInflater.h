#pragma once
// Decodes the gzip or deflate content coding of a response body with zlib,
// in pieces as they arrive. Deflate comes zlib-wrapped or, as some servers
// send it, raw; the first two bytes tell which. Gzip may hold several
// members one after another.

#include <memory>
#include <string>
#include <string_view>

class CBodyInflater {
public:
    enum class eCoding { Gzip, Deflate };

    explicit CBodyInflater(eCoding coding);
    ~CBodyInflater();
    CBodyInflater(const CBodyInflater&) = delete;
    CBodyInflater& operator=(const CBodyInflater&) = delete;

    // Appends what bytes decode to out; false once they are not valid in the
    // coding. Bytes after the end of the compressed data are ignored.
    bool Inflate(std::string_view bytes, std::string& out);
    // The compressed data has ended.
    bool Ended() const { return m_bEnded || m_bBetweenMembers; }

private:
    struct Stream;

    bool Start(bool raw);
    bool Run(std::string_view bytes, std::string& out);

    const eCoding m_Coding;
    std::unique_ptr<Stream> m_pStream;
    // The first byte of a deflate body or of a next gzip member, while the
    // second is awaited.
    std::string m_Lead;
    bool m_bBetweenMembers = false;
    bool m_bEnded = false;
    bool m_bFailed = false;
};
