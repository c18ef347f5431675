#pragma once
// Reads the block layout of GIF data without decoding pixels: the logical
// screen, the global colour table and one span per graphic block (an
// image or plain-text block with the extensions before it). Every read is
// checked against the data's length, so short or truncated data yields
// fewer frames or none, never a read past the end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "controls/ColourRef.h"

class CGifScanner {
public:
    using Bytes = std::span<const std::uint8_t>;

    enum class Block { Application, Comment, GraphicControl, PlainText, Image, Trailer, Unknown };

    // One graphic block and the graphic control extension that led to it.
    struct Frame {
        std::size_t offset = 0;  // first byte of the extension (or of the image block)
        std::size_t length = 0;  // up to the end of the image or plain-text block
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        int delay = 0;     // hundredths of a second; 0 without an extension
        int disposal = 0;  // 0 to 7
    };

    struct Layout {
        int width = 0;
        int height = 0;
        std::size_t headerLength = 13;     // logical screen descriptor and global table
        std::size_t colourTableSize = 0;   // bytes
        std::optional<COLORREF> background;  // table entry at the background index
        std::vector<Frame> frames;
    };

    // Whether the data starts with "GIF".
    static bool IsGif(Bytes data);
    // The layout of GIF data; nothing when the header or its colour table
    // does not fit in the data.
    static std::optional<Layout> Scan(Bytes data);
    // A stand-alone GIF holding only one frame: the header with the global
    // table, the frame's bytes and a trailer.
    static std::vector<std::uint8_t> FrameGif(Bytes data, const Layout& layout, const Frame& frame);

    // The block at offset and its length in bytes; the length is -1 for an
    // unknown block or one that does not end within the data.
    static Block KindAt(Bytes data, std::size_t offset);
    static long BlockLength(Bytes data, std::size_t offset);
};
