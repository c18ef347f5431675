#include "relay/http/CChunkedBody.h"

#include <algorithm>
#include <cstring>

namespace {

// Larger chunks than this are not believed.
constexpr std::uint64_t kMaxSize = std::uint64_t{1} << 60;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The line without its LF and the CR before it.
std::string_view Bare(const std::string& line) {
    std::string_view v(line);
    if (!v.empty() && v.back() == '\n') v.remove_suffix(1);
    if (!v.empty() && v.back() == '\r') v.remove_suffix(1);
    return v;
}

}  // namespace

void CChunkedBody::Reset() {
    m_State = eState::SizeLine;
    m_Line.clear();
    m_Left = 0;
    m_Trailer.clear();
}

CChunkedBody::Step CChunkedBody::Fail() {
    m_State = eState::Failed;
    return {eStep::Failed, {}};
}

bool CChunkedBody::CollectLine(std::string_view& input, std::size_t limit) {
    const void* lf = std::memchr(input.data(), '\n', input.size());
    const std::size_t take = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - input.data()) + 1 : input.size();
    m_Line.append(input.substr(0, std::min(take, limit + 1)));
    input.remove_prefix(take);
    return lf != nullptr;
}

bool CChunkedBody::ParseSizeLine() {
    const std::string_view line = Bare(m_Line);
    std::size_t i = 0;
    std::uint64_t size = 0;
    for (; i < line.size() && HexValue(line[i]) >= 0; ++i) {
        // Leading zeros are allowed; a size that would not fit is not.
        if (size > (kMaxSize >> 4)) return false;
        size = size * 16 + static_cast<std::uint64_t>(HexValue(line[i]));
    }
    if (i == 0) return false;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && line[i] != ';') return false;
    m_Left = size;
    return true;
}

CChunkedBody::Step CChunkedBody::Next(std::string_view& input) {
    while (true) {
        switch (m_State) {
        case eState::Done:
            return {eStep::End, {}};
        case eState::Failed:
            return {eStep::Failed, {}};
        case eState::SizeLine:
            if (input.empty()) return {};
            if (!CollectLine(input, kMaxLine)) {
                if (m_Line.size() > kMaxLine) return Fail();
                return {};
            }
            if (m_Line.size() > kMaxLine || !ParseSizeLine()) return Fail();
            m_Line.clear();
            m_State = m_Left == 0 ? eState::Trailer : eState::Data;
            break;
        case eState::Data: {
            if (input.empty()) return {};
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(m_Left, input.size()));
            const std::string_view data = input.substr(0, n);
            input.remove_prefix(n);
            m_Left -= n;
            if (m_Left == 0) m_State = eState::DataEnd;
            return {eStep::Data, data};
        }
        case eState::DataEnd:
            // CR LF (or a bare LF) after the chunk's data, nothing else.
            if (input.empty()) return {};
            if (m_Line.empty() && input[0] == '\r') {
                m_Line.push_back('\r');
                input.remove_prefix(1);
                break;
            }
            if (input[0] != '\n') return Fail();
            input.remove_prefix(1);
            m_Line.clear();
            m_State = eState::SizeLine;
            break;
        case eState::Trailer:
            if (input.empty()) return {};
            if (!CollectLine(input, kMaxTrailer)) {
                if (m_Trailer.size() + m_Line.size() > kMaxTrailer) return Fail();
                return {};
            }
            if (Bare(m_Line).empty()) {
                m_Line.clear();
                m_State = eState::Done;
                return {eStep::End, {}};
            }
            m_Trailer += m_Line;
            m_Line.clear();
            if (m_Trailer.size() > kMaxTrailer) return Fail();
            break;
        }
    }
}
