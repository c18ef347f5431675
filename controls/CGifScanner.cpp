#include "controls/CGifScanner.h"

namespace {

constexpr std::size_t kScreenLength = 13;

int Word(CGifScanner::Bytes data, std::size_t at) {
    return data[at] | (data[at + 1] << 8);
}

// Length of a chain of data sub-blocks at offset, or -1 when the chain
// runs past the data before its zero length byte.
long SubBlocksLength(CGifScanner::Bytes data, std::size_t offset) {
    std::size_t at = offset;
    while (at < data.size()) {
        const std::size_t n = data[at];
        if (n == 0) {
            return static_cast<long>(at + 1 - offset);
        }
        at += n + 1;
    }
    return -1;
}

long WithSubBlocks(CGifScanner::Bytes data, std::size_t offset, std::size_t fixed) {
    if (offset + fixed > data.size()) {
        return -1;
    }
    const long rest = SubBlocksLength(data, offset + fixed);
    return rest < 0 ? -1 : static_cast<long>(fixed) + rest;
}

// Skips to the end of the next graphic block, reporting it; nothing at an
// unknown block, the trailer, or a block that does not end in the data.
std::optional<CGifScanner::Frame> NextFrame(CGifScanner::Bytes data, std::size_t& offset) {
    CGifScanner::Frame frame;
    std::optional<std::size_t> extensionAt;
    for (;;) {
        const auto kind = CGifScanner::KindAt(data, offset);
        if (kind == CGifScanner::Block::Unknown || kind == CGifScanner::Block::Trailer) {
            return std::nullopt;
        }
        const long length = CGifScanner::BlockLength(data, offset);
        if (length <= 0 || offset + static_cast<std::size_t>(length) > data.size()) {
            return std::nullopt;
        }
        const std::size_t end = offset + static_cast<std::size_t>(length);
        switch (kind) {
        case CGifScanner::Block::GraphicControl:
            if (!extensionAt) {
                extensionAt = offset;
                frame.disposal = (data[offset + 3] >> 2) & 7;
                frame.delay = Word(data, offset + 4);
            }
            break;
        case CGifScanner::Block::Image:
            frame.left = Word(data, offset + 1);
            frame.top = Word(data, offset + 3);
            frame.width = Word(data, offset + 5);
            frame.height = Word(data, offset + 7);
            [[fallthrough]];
        case CGifScanner::Block::PlainText:
            if (kind == CGifScanner::Block::PlainText) {
                frame.left = Word(data, offset + 3);
                frame.top = Word(data, offset + 5);
                frame.width = Word(data, offset + 7);
                frame.height = Word(data, offset + 9);
            }
            frame.offset = extensionAt.value_or(offset);
            frame.length = end - frame.offset;
            offset = end;
            return frame;
        default:
            break;
        }
        offset = end;
    }
}

}  // namespace

bool CGifScanner::IsGif(Bytes data) {
    return data.size() >= 3 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F';
}

CGifScanner::Block CGifScanner::KindAt(Bytes data, std::size_t offset) {
    if (offset >= data.size()) {
        return Block::Unknown;
    }
    switch (data[offset]) {
    case 0x2C:
        return Block::Image;
    case 0x3B:
        return Block::Trailer;
    case 0x21:
        if (offset + 1 >= data.size()) {
            return Block::Unknown;
        }
        switch (data[offset + 1]) {
        case 0xFF:
            return Block::Application;
        case 0xFE:
            return Block::Comment;
        case 0xF9:
            return Block::GraphicControl;
        case 0x01:
            return Block::PlainText;
        default:
            return Block::Unknown;
        }
    default:
        return Block::Unknown;
    }
}

long CGifScanner::BlockLength(Bytes data, std::size_t offset) {
    switch (KindAt(data, offset)) {
    case Block::Application:
        return WithSubBlocks(data, offset, 14);
    case Block::Comment:
        return WithSubBlocks(data, offset, 2);
    case Block::GraphicControl:
        return offset + 8 <= data.size() ? 8 : -1;
    case Block::PlainText:
        return WithSubBlocks(data, offset, 15);
    case Block::Image: {
        if (offset + 10 > data.size()) {
            return -1;
        }
        const std::uint8_t packed = data[offset + 9];
        const std::size_t table = (packed & 0x80) ? 3u << ((packed & 7) + 1) : 0;
        return WithSubBlocks(data, offset, 11 + table);
    }
    case Block::Trailer:
        return 1;
    case Block::Unknown:
        break;
    }
    return -1;
}

std::optional<CGifScanner::Layout> CGifScanner::Scan(Bytes data) {
    if (!IsGif(data) || data.size() < kScreenLength) {
        return std::nullopt;
    }
    Layout layout;
    layout.width = Word(data, 6);
    layout.height = Word(data, 8);
    const std::uint8_t packed = data[10];
    if (packed & 0x80) {
        const std::size_t entries = std::size_t{1} << ((packed & 7) + 1);
        layout.colourTableSize = 3 * entries;
        const std::size_t index = data[11];
        if (kScreenLength + layout.colourTableSize > data.size()) {
            return std::nullopt;
        }
        if (index < entries) {
            const std::size_t at = kScreenLength + 3 * index;
            layout.background = RGB(data[at], data[at + 1], data[at + 2]);
        }
    }
    layout.headerLength = kScreenLength + layout.colourTableSize;
    std::size_t offset = layout.headerLength;
    while (auto frame = NextFrame(data, offset)) {
        layout.frames.push_back(*frame);
    }
    return layout;
}

std::vector<std::uint8_t> CGifScanner::FrameGif(Bytes data, const Layout& layout, const Frame& frame) {
    std::vector<std::uint8_t> gif;
    if (layout.headerLength > data.size() || frame.offset > data.size() ||
        frame.length > data.size() - frame.offset) {
        return gif;
    }
    gif.reserve(layout.headerLength + frame.length + 1);
    gif.insert(gif.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(layout.headerLength));
    const auto first = data.begin() + static_cast<std::ptrdiff_t>(frame.offset);
    gif.insert(gif.end(), first, first + static_cast<std::ptrdiff_t>(frame.length));
    gif.push_back(0x3B);
    return gif;
}
