#include "relay/http/CHttpResponseStream.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "relay/engine/HttpHeadFields.h"

namespace {

using httphead::EqualNoCase;

// A Partial Content answer is a slice of a body: filtering it could not
// keep the slices consistent.
constexpr int kPartialContent = 206;
constexpr int kSwitchingProtocols = 101;

enum class eContentCoding { Identity, Gzip, Deflate, Other };

std::string_view Trim(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return v;
}

// One coding the relay can undo, or none; a list of codings is left alone.
eContentCoding ContentCoding(std::string_view head) {
    eContentCoding coding = eContentCoding::Identity;
    int fields = 0;
    for (const httphead::Field& f : httphead::Fields(head)) {
        if (!EqualNoCase(f.name, "content-encoding")) continue;
        const std::string_view value = Trim(f.value);
        if (++fields > 1 || value.find(',') != std::string_view::npos) return eContentCoding::Other;
        if (EqualNoCase(value, "gzip") || EqualNoCase(value, "x-gzip")) {
            coding = eContentCoding::Gzip;
        } else if (EqualNoCase(value, "deflate")) {
            coding = eContentCoding::Deflate;
        } else if (!value.empty() && !EqualNoCase(value, "identity")) {
            return eContentCoding::Other;
        }
    }
    return coding;
}

// The head without the named fields, extra lines added before its blank
// line; every line keeps the line end it had.
std::string RewriteHead(std::string_view head, std::initializer_list<std::string_view> drop, std::string_view extra) {
    std::string rewritten;
    rewritten.reserve(head.size() + extra.size());
    std::size_t copied = 0;
    for (const httphead::Field& f : httphead::Fields(head)) {
        const bool dropped = std::any_of(drop.begin(), drop.end(), [&f](std::string_view n) { return EqualNoCase(f.name, n); });
        if (!dropped) continue;
        rewritten.append(head.substr(copied, f.begin - copied));
        copied = head.find('\n', f.lineEnd) + 1;
    }
    // The blank line is the head's last line end.
    std::size_t blank = head.size() - 1;
    while (blank > copied && head[blank - 1] != '\n') --blank;
    rewritten.append(head.substr(copied, blank - copied));
    rewritten.append(extra);
    rewritten.append(head.substr(blank));
    return rewritten;
}

}  // namespace

void CHttpResponseStream::ExpectResponse(std::string_view requestHead) {
    m_Expected.push_back({EqualNoCase(RequestMethod(requestHead), "head"), KeepsHttp11(RequestVersion(requestHead))});
}

void CHttpResponseStream::Reset() {
    m_Expected.clear();
    m_Head.Reset();
    m_State = eState::Head;
    m_bSwitched = false;
    m_bFiltered = false;
    m_bCloseAfter = false;
    m_pInflater.reset();
    m_Work.clear();
}

void CHttpResponseStream::PassRawFromNowOn() {
    m_State = eState::Raw;
    m_bFiltered = false;
    m_pInflater.reset();
    m_Work.clear();
}

bool CHttpResponseStream::Feed(std::string_view bytes, IByteSink& out) {
    while (!bytes.empty() && m_State != eState::Closed) {
        switch (m_State) {
        case eState::Raw:
            out.Emit(bytes);
            return true;
        case eState::Head:
            switch (m_Head.Collect(bytes)) {
            case CHeadCollector::eCollect::NeedMore:
                return true;
            case CHeadCollector::eCollect::TooLarge:
                out.Emit(m_Head.Head());
                PassRawFromNowOn();
                break;
            case CHeadCollector::eCollect::Done:
                StartMessage(out);
                break;
            }
            break;
        case eState::Body:
            if (!TakeBody(bytes, out)) m_State = eState::Closed;
            break;
        case eState::Closed:
            break;
        }
    }
    return m_State != eState::Closed;
}

void CHttpResponseStream::StartMessage(IByteSink& out) {
    const std::string& head = m_Head.Head();
    const int status = ResponseStatus(head);
    if (status < 100) {
        out.Emit(head);
        PassRawFromNowOn();
        return;
    }
    if (status < 200) {
        // An interim answer; the final one follows for the same request.
        out.Emit(head);
        m_Head.Reset();
        if (status == kSwitchingProtocols) {
            m_bSwitched = true;
            PassRawFromNowOn();
        }
        return;
    }
    Expected expected;
    if (!m_Expected.empty()) {
        expected = m_Expected.front();
        m_Expected.pop_front();
    }
    m_Framing = ResponseBodyFraming(head, status, expected.answersHead);
    if (m_Framing.kind == BodyFraming::eKind::Invalid) {
        out.Emit(head);
        PassRawFromNowOn();
        return;
    }
    // Every final head reaches the filter (a location field counts even
    // without a body).
    const bool wanted = m_Filter.StartBody(head);
    const bool hasBody = m_Framing.kind != BodyFraming::eKind::None;
    const eContentCoding coding = ContentCoding(head);
    m_bFiltered = false;
    m_bCloseAfter = false;
    if (wanted && hasBody && status != kPartialContent && coding != eContentCoding::Other) {
        CBodyInflater::eCoding inflate = coding == eContentCoding::Gzip ? CBodyInflater::eCoding::Gzip
                                                                        : CBodyInflater::eCoding::Deflate;
        BeginFilteredBody(m_Framing, coding == eContentCoding::Identity ? nullptr : &inflate, expected.http11, out);
    } else {
        out.Emit(head);
    }
    m_Left = m_Framing.length;
    m_Chunks.Reset();
    if (!hasBody) {
        if (!EndMessage(out)) m_State = eState::Closed;
        return;
    }
    m_State = eState::Body;
}

void CHttpResponseStream::BeginFilteredBody(const BodyFraming& framing, CBodyInflater::eCoding* coding, bool http11,
                                            IByteSink& out) {
    const std::string& head = m_Head.Head();
    m_bFiltered = true;
    m_Work.clear();
    if (!coding) {
        // The filter keeps the length: a Content-Length stays true.
        m_pInflater.reset();
        m_Out = framing.kind == BodyFraming::eKind::Chunked ? eOut::Chunked : eOut::Plain;
        out.Emit(head);
        return;
    }
    m_pInflater = std::make_unique<CBodyInflater>(*coding);
    if (framing.kind == BodyFraming::eKind::UntilClose) {
        m_Out = eOut::Plain;
        out.Emit(RewriteHead(head, {"content-encoding", "content-length"}, {}));
    } else if (http11 && KeepsHttp11(ResponseVersion(head))) {
        m_Out = eOut::Chunked;
        out.Emit(RewriteHead(head, {"content-encoding", "content-length", "transfer-encoding"},
                             "Transfer-Encoding: chunked\r\n"));
    } else {
        // An HTTP/1.0 peer knows no chunks: the close ends the body.
        m_Out = eOut::Plain;
        m_bCloseAfter = true;
        out.Emit(RewriteHead(head, {"content-encoding", "content-length", "transfer-encoding", "connection", "keep-alive"},
                             "Connection: close\r\n"));
    }
}

bool CHttpResponseStream::TakeBody(std::string_view& bytes, IByteSink& out) {
    switch (m_Framing.kind) {
    case BodyFraming::eKind::Length: {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(m_Left, bytes.size()));
        const std::string_view piece = bytes.substr(0, n);
        bytes.remove_prefix(n);
        m_Left -= n;
        if (!m_bFiltered) {
            out.Emit(piece);
        } else if (!Decoded(piece)) {
            return false;
        }
        if (m_Left == 0) return EndMessage(out);
        if (m_bFiltered) Decide(false, out);
        return true;
    }
    case BodyFraming::eKind::Chunked: {
        const std::string_view before = bytes;
        CChunkedBody::eStep kind = CChunkedBody::eStep::Data;
        while (kind == CChunkedBody::eStep::Data && !bytes.empty()) {
            const CChunkedBody::Step step = m_Chunks.Next(bytes);
            kind = step.kind;
            if (kind == CChunkedBody::eStep::Data && m_bFiltered && !Decoded(step.data)) return false;
        }
        if (!m_bFiltered) {
            if (kind == CChunkedBody::eStep::Failed) {
                // Not chunked after all: the rest passes as it is.
                out.Emit(before);
                bytes = {};
                PassRawFromNowOn();
                return true;
            }
            out.Emit(before.substr(0, before.size() - bytes.size()));
        }
        if (kind == CChunkedBody::eStep::Failed) return false;
        if (kind == CChunkedBody::eStep::End) return EndMessage(out);
        if (m_bFiltered) Decide(false, out);
        return true;
    }
    default:
        // To the end of the stream.
        if (!m_bFiltered) {
            out.Emit(bytes);
        } else if (!Decoded(bytes)) {
            return false;
        } else {
            Decide(false, out);
        }
        bytes = {};
        return true;
    }
}

bool CHttpResponseStream::Decoded(std::string_view bytes) {
    if (m_pInflater) return m_pInflater->Inflate(bytes, m_Work);
    m_Work.append(bytes);
    return true;
}

void CHttpResponseStream::Decide(bool last, IByteSink& out) {
    if (m_Work.empty()) return;
    std::size_t n = m_Filter.FilterBody(m_Work.data(), m_Work.size(), last);
    if (last || n > m_Work.size()) n = m_Work.size();
    SendBody(std::string_view(m_Work).substr(0, n), out);
    m_Work.erase(0, n);
}

void CHttpResponseStream::SendBody(std::string_view bytes, IByteSink& out) {
    if (bytes.empty()) return;
    if (m_Out == eOut::Plain) {
        out.Emit(bytes);
        return;
    }
    char size[24];
    const int n = std::snprintf(size, sizeof size, "%zx\r\n", bytes.size());
    m_Chunk.assign(size, static_cast<std::size_t>(n));
    m_Chunk.append(bytes);
    m_Chunk.append("\r\n");
    out.Emit(m_Chunk);
}

bool CHttpResponseStream::EndMessage(IByteSink& out) {
    if (m_bFiltered) {
        // Compressed data cut short is not a whole body: the client is closed
        // before the end of its framing, so it sees that.
        const bool whole = !m_pInflater || m_pInflater->Ended();
        Decide(true, out);
        if (!whole) return false;
        if (m_Out == eOut::Chunked) {
            m_Chunk = "0\r\n";
            if (m_Framing.kind == BodyFraming::eKind::Chunked) m_Chunk += m_Chunks.Trailer();
            m_Chunk += "\r\n";
            out.Emit(m_Chunk);
        }
        m_bFiltered = false;
        m_pInflater.reset();
        if (m_bCloseAfter) return false;
    }
    m_Head.Reset();
    m_State = eState::Head;
    return true;
}

void CHttpResponseStream::End(IByteSink& out) {
    if (m_State == eState::Head && !m_Head.Head().empty()) out.Emit(m_Head.Head());
    // A body to the end of the stream is whole now; any other is cut short.
    if (m_State == eState::Body && m_bFiltered) Decide(true, out);
    m_State = eState::Closed;
}
