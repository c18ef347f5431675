#include <gtest/gtest.h>

#include "support/TempRoot.h"

#include "GifBytes.h"
#include "controls/CGifScanner.h"

namespace {

class CGifScannerTest : public kvtest::RootedTest {};

using kvtest::GifBytes;
using kvtest::GifFrameSpec;

TEST_F(CGifScannerTest, ReadsScreenTableAndBackground) {
    const auto data = GifBytes(40, 30, kvtest::kRed).Frame({}).Bytes();
    const auto layout = CGifScanner::Scan(data);
    ASSERT_TRUE(layout);
    EXPECT_EQ(40, layout->width);
    EXPECT_EQ(30, layout->height);
    EXPECT_EQ(12u, layout->colourTableSize);
    EXPECT_EQ(25u, layout->headerLength);
    ASSERT_TRUE(layout->background);
    EXPECT_EQ(RGB(255, 0, 0), *layout->background);
}

TEST_F(CGifScannerTest, ReportsEachFrameWithItsControlExtension) {
    const auto data = GifBytes(20, 20)
                          .Application()
                          .Frame({.left = 1, .top = 2, .width = 3, .height = 4, .delay = 7, .disposal = 2})
                          .Comment()
                          .Frame({.left = 5, .top = 6, .width = 2, .height = 2, .control = false})
                          .Frame({.width = 1, .height = 1, .delay = 0, .disposal = 3})
                          .Bytes();
    const auto layout = CGifScanner::Scan(data);
    ASSERT_TRUE(layout);
    ASSERT_EQ(3u, layout->frames.size());
    const auto& first = layout->frames[0];
    EXPECT_EQ(std::make_tuple(1, 2, 3, 4, 7, 2),
              std::make_tuple(first.left, first.top, first.width, first.height, first.delay, first.disposal));
    EXPECT_EQ(0x21, data[first.offset]);
    EXPECT_EQ(0xF9, data[first.offset + 1]);
    const auto& second = layout->frames[1];
    EXPECT_EQ(0x2C, data[second.offset]) << "a frame without an extension starts at its image";
    EXPECT_EQ(0, second.delay);
    EXPECT_EQ(5, second.left);
    EXPECT_EQ(3, layout->frames[2].disposal);
    EXPECT_EQ(0x3B, data[layout->frames[2].offset + layout->frames[2].length]);
}

TEST_F(CGifScannerTest, StandAloneFrameHoldsHeaderFrameAndTrailer) {
    const auto data = GifBytes(8, 8).Frame({.width = 2, .height = 2}).Frame({.width = 1, .height = 1}).Bytes();
    const auto layout = CGifScanner::Scan(data);
    ASSERT_TRUE(layout);
    ASSERT_EQ(2u, layout->frames.size());
    const auto& frame = layout->frames[1];
    const auto gif = CGifScanner::FrameGif(data, *layout, frame);
    ASSERT_EQ(layout->headerLength + frame.length + 1, gif.size());
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 25, gif.begin()));
    EXPECT_TRUE(std::equal(gif.begin() + 25, gif.end() - 1, data.begin() + static_cast<long>(frame.offset)));
    EXPECT_EQ(0x3B, gif.back());
    const auto again = CGifScanner::Scan(gif);
    ASSERT_TRUE(again);
    EXPECT_EQ(1u, again->frames.size());
}

TEST_F(CGifScannerTest, StopsAtUnknownBlocksAndTrailer) {
    auto data = GifBytes(4, 4).Frame({}).Raw();
    data.push_back(0x99);  // neither extension, image nor trailer
    auto more = GifBytes(4, 4).Frame({}).Raw();
    data.insert(data.end(), more.begin() + 25, more.end());
    const auto layout = CGifScanner::Scan(data);
    ASSERT_TRUE(layout);
    EXPECT_EQ(1u, layout->frames.size());
}

// Every cut of a valid two-frame GIF scans without reading past the end and
// never finds more frames than fit in the bytes kept.
TEST_F(CGifScannerTest, TruncatedDataFailsCleanly) {
    const auto full = GifBytes(16, 16)
                          .Application()
                          .Frame({.width = 4, .height = 4})
                          .Comment()
                          .Frame({.width = 3, .height = 3})
                          .Bytes();
    const auto whole = CGifScanner::Scan(full);
    ASSERT_TRUE(whole);
    ASSERT_EQ(2u, whole->frames.size());
    for (std::size_t size = 0; size < full.size(); ++size) {
        const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
        const auto layout = CGifScanner::Scan(cut);
        if (size < 25) {
            EXPECT_FALSE(layout) << size;
            continue;
        }
        ASSERT_TRUE(layout) << size;
        for (const auto& frame : layout->frames) {
            EXPECT_LE(frame.offset + frame.length, size) << size;
        }
        const std::size_t expected = size >= whole->frames[1].offset + whole->frames[1].length ? 2
                                     : size >= whole->frames[0].offset + whole->frames[0].length ? 1 : 0;
        EXPECT_EQ(expected, layout->frames.size()) << size;
    }
}

TEST_F(CGifScannerTest, RejectsHeadersThatDoNotFit) {
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"signature only", {'G', 'I', 'F'}},
        {"not a GIF", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // 256-entry table announced, none present
        {"table cut", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87, 0, 0, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(CGifScanner::Scan(c.bytes)) << c.what;
    }
}

TEST_F(CGifScannerTest, BlockLengthsFollowTheirLayout) {
    const std::vector<std::uint8_t> gce = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
    EXPECT_EQ(8, CGifScanner::BlockLength(gce, 0));
    EXPECT_EQ(-1, CGifScanner::BlockLength(std::vector<std::uint8_t>(gce.begin(), gce.end() - 1), 0));
    const std::vector<std::uint8_t> comment = {0x21, 0xFE, 2, 'h', 'i', 1, '!', 0};
    EXPECT_EQ(8, CGifScanner::BlockLength(comment, 0));
    const std::vector<std::uint8_t> endless = {0x21, 0xFE, 200, 'h', 'i'};
    EXPECT_EQ(-1, CGifScanner::BlockLength(endless, 0));
    // an image with a 2-entry local table: 11 + 6 + sub-blocks (1 + 2 + 1)
    const std::vector<std::uint8_t> image = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x80, 1, 2, 3, 4, 5, 6, 2, 2, 9, 9, 0};
    EXPECT_EQ(static_cast<long>(image.size()), CGifScanner::BlockLength(image, 0));
    EXPECT_EQ(1, CGifScanner::BlockLength(std::vector<std::uint8_t>{0x3B}, 0));
    EXPECT_EQ(-1, CGifScanner::BlockLength(std::vector<std::uint8_t>{0x21, 0x77, 0}, 0));
    EXPECT_EQ(CGifScanner::Block::Unknown, CGifScanner::KindAt(std::vector<std::uint8_t>{0x21}, 0));
}

}  // namespace
