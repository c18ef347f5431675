#include "relay/http/CBodyInflater.h"

#include <zlib.h>

#include <string>

namespace {

// Output taken per inflate call.
constexpr std::size_t kOutStep = 16 * 1024;
// zlib's window bits: 15, plus 16 for the gzip wrapper, negative for raw.
constexpr int kWindowBits = 15;
constexpr int kGzipWrapper = 16;

bool LooksZlibWrapped(unsigned char b0, unsigned char b1) {
    return (b0 & 0x0F) == Z_DEFLATED && ((b0 << 8) | b1) % 31 == 0;
}

}  // namespace

struct CBodyInflater::Stream {
    z_stream z{};
    bool started = false;
    ~Stream() {
        if (started) inflateEnd(&z);
    }
};

CBodyInflater::CBodyInflater(eCoding coding) : m_Coding(coding), m_pStream(std::make_unique<Stream>()) {
    if (coding == eCoding::Gzip && !Start(false)) m_bFailed = true;
}

CBodyInflater::~CBodyInflater() = default;

bool CBodyInflater::Start(bool raw) {
    const int bits = m_Coding == eCoding::Gzip ? kWindowBits + kGzipWrapper : (raw ? -kWindowBits : kWindowBits);
    m_pStream->started = inflateInit2(&m_pStream->z, bits) == Z_OK;
    return m_pStream->started;
}

bool CBodyInflater::Inflate(std::string_view bytes, std::string& out) {
    if (m_bFailed) return false;
    if (m_bEnded || bytes.empty()) return true;
    if (m_bBetweenMembers) {
        // Another gzip member, or the end: its first two bytes tell.
        m_Lead.append(bytes);
        if (m_Lead.size() < 2) return true;
        const std::string lead = std::move(m_Lead);
        m_Lead.clear();
        m_bBetweenMembers = false;
        if (static_cast<unsigned char>(lead[0]) != 0x1F || static_cast<unsigned char>(lead[1]) != 0x8B) {
            m_bEnded = true;
            return true;
        }
        if (inflateReset(&m_pStream->z) != Z_OK) {
            m_bFailed = true;
            return false;
        }
        return Run(lead, out);
    }
    if (!m_pStream->started) {
        // Deflate: the wrapper shows in the first two bytes.
        m_Lead.append(bytes);
        if (m_Lead.size() < 2) return true;
        const std::string lead = std::move(m_Lead);
        m_Lead.clear();
        if (!Start(!LooksZlibWrapped(static_cast<unsigned char>(lead[0]), static_cast<unsigned char>(lead[1])))) {
            m_bFailed = true;
            return false;
        }
        return Run(lead, out);
    }
    return Run(bytes, out);
}

bool CBodyInflater::Run(std::string_view bytes, std::string& out) {
    z_stream& z = m_pStream->z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    while (true) {
        const std::size_t before = out.size();
        out.resize(before + kOutStep);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + before);
        z.avail_out = static_cast<uInt>(kOutStep);
        const int result = inflate(&z, Z_NO_FLUSH);
        out.resize(before + kOutStep - z.avail_out);
        if (result == Z_STREAM_END) {
            // Another gzip member may follow; anything else after the end is
            // not part of the body.
            if (m_Coding != eCoding::Gzip) {
                m_bEnded = true;
                return true;
            }
            m_bBetweenMembers = true;
            const std::string_view rest(reinterpret_cast<const char*>(z.next_in), z.avail_in);
            return rest.empty() || Inflate(std::string(rest), out);
        }
        if (result == Z_BUF_ERROR && z.avail_in == 0) return true;
        if (result != Z_OK) break;
        if (z.avail_in == 0 && z.avail_out != 0) return true;
    }
    m_bFailed = true;
    return false;
}
