#include "controls/CPictureBounds.h"

#include <algorithm>
#include <cstdlib>

#include "controls/CGifScanner.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

unsigned BigEndian16(Bytes data, std::size_t at) { return (unsigned{data[at]} << 8) | data[at + 1]; }

std::uint32_t BigEndian32(Bytes data, std::size_t at) {
    return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) | (std::uint32_t{data[at + 2]} << 8) |
           data[at + 3];
}

std::int32_t LittleEndian32(Bytes data, std::size_t at) {
    return static_cast<std::int32_t>(std::uint32_t{data[at]} | (std::uint32_t{data[at + 1]} << 8) |
                                     (std::uint32_t{data[at + 2]} << 16) | (std::uint32_t{data[at + 3]} << 24));
}

unsigned LittleEndian16(Bytes data, std::size_t at) { return unsigned{data[at]} | (unsigned{data[at + 1]} << 8); }

// A size from 32-bit header fields; one that does not fit an int counts as
// too large.
wxSize Size(std::int64_t width, std::int64_t height) {
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::min<std::int64_t>(std::llabs(v), CPictureBounds::kMaxSide + 1));
    };
    return {clamp(width), clamp(height)};
}

std::vector<wxSize> GifSizes(Bytes data) {
    const auto layout = CGifScanner::Scan(data);
    if (!layout) return {};
    std::vector<wxSize> sizes{{layout->width, layout->height}};
    for (const CGifScanner::Frame& frame : layout->frames) sizes.emplace_back(frame.width, frame.height);
    return sizes;
}

// Signature, then the IHDR chunk: length, type, width, height.
std::vector<wxSize> PngSizes(Bytes data) {
    constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data.size() < 24 || !std::equal(std::begin(kSignature), std::end(kSignature), data.begin())) return {};
    if (data[12] != 'I' || data[13] != 'H' || data[14] != 'D' || data[15] != 'R') return {};
    return {Size(BigEndian32(data, 16), BigEndian32(data, 20))};
}

// The markers up to the first start-of-frame, which holds the size; the
// entropy-coded data begins only after a start-of-scan.
std::vector<wxSize> JpegSizes(Bytes data) {
    if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return {};
    std::size_t at = 2;
    while (at + 4 <= data.size()) {
        if (data[at] != 0xFF) return {};
        const std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;  // markers without a length
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return {};
        const std::size_t length = BigEndian16(data, at + 2);
        const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (length < 7 || at + 9 > data.size()) return {};
            return {Size(BigEndian16(data, at + 7), BigEndian16(data, at + 5))};
        }
        if (length < 2) return {};
        at += 2 + length;
    }
    return {};
}

// The file header, then the DIB header: a 12-byte core header has unsigned
// 16-bit sizes, every later one signed 32-bit (a negative height is a
// top-down picture).
std::vector<wxSize> BmpSizes(Bytes data) {
    if (data.size() < 26 || data[0] != 'B' || data[1] != 'M') return {};
    if (LittleEndian32(data, 14) == 12) return {Size(LittleEndian16(data, 18), LittleEndian16(data, 20))};
    return {Size(LittleEndian32(data, 18), LittleEndian32(data, 22))};
}

}  // namespace

std::vector<wxSize> CPictureBounds::Declared(std::span<const std::uint8_t> data) {
    if (CGifScanner::IsGif(data)) return GifSizes(data);
    for (auto sizes : {PngSizes(data), JpegSizes(data), BmpSizes(data)}) {
        if (!sizes.empty()) return sizes;
    }
    return {};
}

bool CPictureBounds::Acceptable(std::span<const std::uint8_t> data) {
    const std::vector<wxSize> sizes = Declared(data);
    return !sizes.empty() && std::all_of(sizes.begin(), sizes.end(), [](const wxSize& size) {
        return size.x <= kMaxSide && size.y <= kMaxSide;
    });
}
