#pragma once
// The upstream's half of an HTTP connection as a step machine, no socket
// inside: responses framed from their heads (1xx, Content-Length, chunked,
// to the end of the stream; no body for HEAD, 204 and 304), answering the
// requests in the order they went upstream. A body the filter takes is
// decoded (chunked, then gzip or deflate), filtered with its state carried
// from one read to the next, and framed validly again: unchanged framing
// when only the chunked coding was undone (the filter keeps the length; the
// chunks are cut anew), else chunked, or ended by closing the connection
// for an HTTP/1.0 peer, with Content-Encoding and Content-Length removed.
// Every other byte passes unchanged; so does the rest of a stream whose
// framing cannot be read.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "relay/http/CBodyInflater.h"
#include "relay/http/CChunkedBody.h"
#include "relay/http/CHeadCollector.h"
#include "relay/http/HttpFraming.h"

// Where the stream's output goes, in order.
class IByteSink {
public:
    virtual void Emit(std::string_view bytes) = 0;

protected:
    ~IByteSink() = default;
};

// What the stream asks of the response filter.
class IResponseFilter {
public:
    // A final response head: true when the body that follows is filtered.
    virtual bool StartBody(std::string_view head) = 0;
    // Filters the next decoded bytes of that body in place; the bytes from
    // the returned count on are not decided yet and come again in front of
    // the next ones. With last every byte is decided.
    virtual std::size_t FilterBody(char* text, std::size_t size, bool last) = 0;

protected:
    ~IResponseFilter() = default;
};

class CHttpResponseStream {
public:
    static constexpr std::size_t kMaxHead = 64 * 1024;

    explicit CHttpResponseStream(IResponseFilter& filter) : m_Filter(filter) {}

    // A request head went upstream: the next response answers it.
    void ExpectResponse(std::string_view requestHead);
    // Bytes the upstream sent; what goes to the client goes to out. False
    // when the client's connection must end once it took what was given (a
    // body now ended by the close, or one that cannot go on validly).
    bool Feed(std::string_view bytes, IByteSink& out);
    // The upstream's stream ended: what was kept back goes out.
    void End(IByteSink& out);
    // A 101 answer came: every later byte, both ways, is the new protocol's.
    bool SwitchedProtocols() const { return m_bSwitched; }
    void Reset();

private:
    enum class eState { Head, Body, Raw, Closed };
    // How a filtered body goes to the client.
    enum class eOut { Plain, Chunked };
    struct Expected {
        bool answersHead = false;
        bool http11 = true;
    };

    // The head just collected: pass it, or rewrite it for a filtered body.
    void StartMessage(IByteSink& out);
    void BeginFilteredBody(const BodyFraming& framing, CBodyInflater::eCoding* coding, bool http11, IByteSink& out);
    // Body bytes of the message; false when the client must be closed.
    bool TakeBody(std::string_view& bytes, IByteSink& out);
    // Decoded bytes for the filter (chunked undone); false on a bad coding.
    bool Decoded(std::string_view bytes);
    // Filters what waits and sends what is decided.
    void Decide(bool last, IByteSink& out);
    void SendBody(std::string_view bytes, IByteSink& out);
    // The message ended; false when the client must be closed now.
    bool EndMessage(IByteSink& out);
    void PassRawFromNowOn();

    IResponseFilter& m_Filter;
    std::deque<Expected> m_Expected;
    CHeadCollector m_Head{kMaxHead};
    eState m_State = eState::Head;
    BodyFraming m_Framing;
    std::uint64_t m_Left = 0;
    CChunkedBody m_Chunks;
    bool m_bSwitched = false;

    // A filtered body.
    bool m_bFiltered = false;
    eOut m_Out = eOut::Plain;
    // The client is closed after this body (its end is the close).
    bool m_bCloseAfter = false;
    std::unique_ptr<CBodyInflater> m_pInflater;
    // Decoded bytes the filter has not decided yet.
    std::string m_Work;
    std::string m_Chunk;
};
