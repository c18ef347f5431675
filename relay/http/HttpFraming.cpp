#include "relay/http/HttpFraming.h"

#include "relay/engine/HttpHeadFields.h"

namespace {

using httphead::EqualNoCase;

// Longest Content-Length believed (18 digits).
constexpr std::size_t kMaxLengthDigits = 18;

std::string_view Trim(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return v;
}

// The last coding named by the Transfer-Encoding fields; empty without any.
std::string_view LastTransferCoding(std::string_view head, bool& present) {
    present = false;
    std::string_view last;
    for (const httphead::Field& f : httphead::Fields(head)) {
        if (!EqualNoCase(f.name, "transfer-encoding")) continue;
        present = true;
        std::string_view value = f.value;
        const std::size_t comma = value.rfind(',');
        if (comma != std::string_view::npos) value = value.substr(comma + 1);
        last = Trim(value.substr(0, value.find(';')));
    }
    return last;
}

// Every Content-Length value (comma lists included) must be the same
// number. present false without any.
bool ContentLength(std::string_view head, bool& present, std::uint64_t& length) {
    present = false;
    for (const httphead::Field& f : httphead::Fields(head)) {
        if (!EqualNoCase(f.name, "content-length")) continue;
        std::string_view rest = f.value;
        while (true) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = Trim(rest.substr(0, comma));
            if (item.empty() || item.size() > kMaxLengthDigits) return false;
            std::uint64_t value = 0;
            for (char c : item) {
                if (c < '0' || c > '9') return false;
                value = value * 10 + static_cast<std::uint64_t>(c - '0');
            }
            if (present && value != length) return false;
            present = true;
            length = value;
            if (comma == std::string_view::npos) break;
            rest = rest.substr(comma + 1);
        }
    }
    return true;
}

// Chunked when the last transfer coding is; otherCoding for another one;
// else by Content-Length, or unsized without one.
BodyFraming FramingFromFields(std::string_view head, BodyFraming::eKind otherCoding, BodyFraming::eKind unsized) {
    bool coded = false;
    const std::string_view coding = LastTransferCoding(head, coded);
    if (coded) return {EqualNoCase(coding, "chunked") ? BodyFraming::eKind::Chunked : otherCoding, 0};
    bool present = false;
    std::uint64_t length = 0;
    if (!ContentLength(head, present, length)) return {BodyFraming::eKind::Invalid, 0};
    if (!present) return {unsized, 0};
    if (length == 0) return {};
    return {BodyFraming::eKind::Length, length};
}

// The words of the start line: 0 method or version, 1 target or status.
std::string_view StartWord(std::string_view head, int index) {
    std::string_view line = httphead::StartLine(head);
    for (int i = 0; i < index; ++i) {
        const std::size_t blank = line.find(' ');
        if (blank == std::string_view::npos) return {};
        line.remove_prefix(blank + 1);
    }
    return line.substr(0, line.find(' '));
}

}  // namespace

BodyFraming RequestBodyFraming(std::string_view head) {
    return FramingFromFields(head, BodyFraming::eKind::Invalid, BodyFraming::eKind::None);
}

BodyFraming ResponseBodyFraming(std::string_view head, int status, bool answersHead) {
    if (answersHead || (status >= 100 && status < 200) || status == 204 || status == 304) return {};
    return FramingFromFields(head, BodyFraming::eKind::UntilClose, BodyFraming::eKind::UntilClose);
}

std::string_view RequestMethod(std::string_view head) { return StartWord(head, 0); }
std::string_view RequestTarget(std::string_view head) { return StartWord(head, 1); }
std::string_view RequestVersion(std::string_view head) { return StartWord(head, 2); }

std::string_view ResponseVersion(std::string_view head) { return StartWord(head, 0); }

int ResponseStatus(std::string_view head) {
    const std::string_view version = StartWord(head, 0);
    const std::string_view code = StartWord(head, 1);
    if (version.size() < 6 || version.substr(0, 5) != "HTTP/" || code.size() != 3) return -1;
    int status = 0;
    for (char c : code) {
        if (c < '0' || c > '9') return -1;
        status = status * 10 + (c - '0');
    }
    return status;
}

bool KeepsHttp11(std::string_view version) {
    if (version.size() < 8 || version.substr(0, 5) != "HTTP/") return false;
    const char major = version[5];
    const char minor = version[7];
    return major > '1' || (major == '1' && version[6] == '.' && minor >= '1');
}
