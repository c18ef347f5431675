#include "http/HttpTestBytes.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace httptest {

namespace {

std::string Compress(std::string_view body, int windowBits) {
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&z, static_cast<uLong>(body.size())) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    z.avail_in = static_cast<uInt>(body.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    if (result != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

// Undoes a coding; false when the bytes are not valid in it.
bool Inflate(std::string_view bytes, int windowBits, std::string& out) {
    z_stream z{};
    if (inflateInit2(&z, windowBits) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    int result = Z_OK;
    char buffer[16384];
    while (result == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        result = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
        if (result == Z_BUF_ERROR && z.avail_in == 0) break;
    }
    inflateEnd(&z);
    return result == Z_STREAM_END;
}

std::string Lower(std::string_view s) {
    std::string l(s);
    for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l;
}

std::string Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return std::string(s);
}

// One line at pos (without CR LF); pos moves past it. False without LF.
bool Line(std::string_view bytes, std::size_t& pos, std::string& line) {
    const std::size_t lf = bytes.find('\n', pos);
    if (lf == std::string_view::npos) return false;
    line = std::string(bytes.substr(pos, lf - pos));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = lf + 1;
    return true;
}

}  // namespace

std::string Gzip(std::string_view body) { return Compress(body, 15 + 16); }

std::string Deflate(std::string_view body, bool raw) { return Compress(body, raw ? -15 : 15); }

std::string Chunked(std::string_view body, const std::vector<std::size_t>& sizes, std::string_view trailer) {
    std::string out;
    std::size_t i = 0;
    while (!body.empty()) {
        const std::size_t n = std::min(std::max<std::size_t>(sizes.empty() ? body.size() : sizes[std::min(i, sizes.size() - 1)], 1), body.size());
        char size[32];
        std::snprintf(size, sizeof size, "%zX\r\n", n);
        out += size;
        out += body.substr(0, n);
        out += "\r\n";
        body.remove_prefix(n);
        ++i;
    }
    out += "0\r\n";
    out += trailer;
    out += "\r\n";
    return out;
}

std::vector<std::string_view> CutAt(std::string_view bytes, const std::vector<std::size_t>& offsets) {
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    for (std::size_t at : offsets) {
        pieces.push_back(bytes.substr(from, at - from));
        from = at;
    }
    pieces.push_back(bytes.substr(from));
    return pieces;
}

std::string Field(std::string_view head, std::string_view name, bool* found) {
    std::size_t pos = 0;
    std::string line;
    Line(head, pos, line);
    const std::string wanted = Lower(name);
    while (Line(head, pos, line) && !line.empty()) {
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos && Lower(Trim(line.substr(0, colon))) == wanted) {
            if (found) *found = true;
            return Trim(std::string_view(line).substr(colon + 1));
        }
    }
    if (found) *found = false;
    return {};
}

std::vector<ReadResponse> ReadResponses(std::string_view bytes, const std::vector<bool>& answersHead) {
    std::vector<ReadResponse> responses;
    std::size_t pos = 0;
    std::size_t finals = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n\r\n", pos);
        const std::size_t bareEnd = bytes.find("\n\n", pos);
        const std::size_t headEnd = std::min(end == std::string_view::npos ? end : end + 4,
                                             bareEnd == std::string_view::npos ? bareEnd : bareEnd + 2);
        if (headEnd == std::string_view::npos) break;
        ReadResponse r;
        r.head = std::string(bytes.substr(pos, headEnd - pos));
        pos = headEnd;
        const int status = std::atoi(r.head.c_str() + r.head.find(' ') + 1);
        if (status >= 100 && status < 200) {
            r.whole = true;
            responses.push_back(r);
            continue;
        }
        const bool head = finals < answersHead.size() && answersHead[finals];
        ++finals;
        std::string raw;
        bool chunked = Lower(Field(r.head, "transfer-encoding")).find("chunked") != std::string::npos;
        bool hasLength = false;
        const std::string length = Field(r.head, "content-length", &hasLength);
        const bool bodyless = head || status == 204 || status == 304;
        if (bodyless) {
            r.whole = true;
        } else if (chunked) {
            std::string line;
            while (Line(bytes, pos, line)) {
                const std::string digits = line.substr(0, line.find(';'));
                char* stop = nullptr;
                const std::size_t size = std::strtoul(digits.c_str(), &stop, 16);
                if (digits.empty() || *stop != '\0') break;
                if (size == 0) {
                    while (Line(bytes, pos, line) && !line.empty()) r.trailer += line + "\r\n";
                    r.whole = line.empty() && pos <= bytes.size();
                    break;
                }
                if (pos + size + 2 > bytes.size()) break;
                raw += bytes.substr(pos, size);
                pos += size;
                if (bytes.substr(pos, 2) != "\r\n") break;
                pos += 2;
            }
        } else if (hasLength) {
            const std::size_t n = std::strtoul(length.c_str(), nullptr, 10);
            raw = std::string(bytes.substr(pos, n));
            r.whole = raw.size() == n;
            pos += raw.size();
        } else {
            raw = std::string(bytes.substr(pos));
            pos = bytes.size();
            r.whole = true;
        }
        const std::string coding = bodyless ? std::string() : Lower(Field(r.head, "content-encoding"));
        if (coding == "gzip") {
            r.whole = Inflate(raw, 15 + 16, r.body) && r.whole;
        } else if (coding == "deflate") {
            r.whole = (Inflate(raw, 15, r.body) || (r.body.clear(), Inflate(raw, -15, r.body))) && r.whole;
        } else {
            r.body = raw;
        }
        responses.push_back(r);
        if (!r.whole) break;
    }
    return responses;
}

}  // namespace httptest
