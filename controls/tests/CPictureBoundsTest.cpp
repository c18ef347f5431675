#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "GifBytes.h"
#include "controls/CPictureBounds.h"
#include "support/TempRoot.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& bytes, std::uint32_t value, bool bigEndian) {
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 24 - 8 * i : 8 * i;
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

Bytes Png(std::uint32_t width, std::uint32_t height) {
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    Put32(png, width, true);
    Put32(png, height, true);
    png.insert(png.end(), {8, 2, 0, 0, 0});
    return png;
}

// An APP0 segment before the start-of-frame, as cameras and editors write.
Bytes Jpeg(unsigned width, unsigned height) {
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    jpeg.insert(jpeg.end(), {0xFF, 0xC0, 0x00, 0x11, 0x08, static_cast<std::uint8_t>(height >> 8),
                             static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(width >> 8),
                             static_cast<std::uint8_t>(width), 3});
    return jpeg;
}

Bytes Bmp(std::int32_t width, std::int32_t height) {
    Bytes bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    Put32(bmp, 40, false);
    Put32(bmp, static_cast<std::uint32_t>(width), false);
    Put32(bmp, static_cast<std::uint32_t>(height), false);
    return bmp;
}

Bytes CoreBmp(std::uint16_t width, std::uint16_t height) {
    Bytes bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0};
    bmp.insert(bmp.end(), {static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
                           static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8), 1, 0, 24, 0});
    return bmp;
}

class CPictureBoundsTest : public kvtest::RootedTest {};

TEST_F(CPictureBoundsTest, ReadsTheDeclaredSizesOfEachFormat) {
    const Bytes gif = kvtest::GifBytes(40, 30).Frame({0, 0, 8, 6}).Frame({2, 2, 4, 4}).Bytes();
    EXPECT_EQ(CPictureBounds::Declared(gif), (std::vector<wxSize>{{40, 30}, {8, 6}, {4, 4}}));
    EXPECT_EQ(CPictureBounds::Declared(Png(640, 440)), (std::vector<wxSize>{{640, 440}}));
    EXPECT_EQ(CPictureBounds::Declared(Jpeg(320, 200)), (std::vector<wxSize>{{320, 200}}));
    EXPECT_EQ(CPictureBounds::Declared(Bmp(16, -16)), (std::vector<wxSize>{{16, 16}})) << "top-down";
    EXPECT_EQ(CPictureBounds::Declared(CoreBmp(24, 12)), (std::vector<wxSize>{{24, 12}}));
}

TEST_F(CPictureBoundsTest, RefusesPicturesBeyondTheLimitAndDataItCannotTell) {
    const int max = CPictureBounds::kMaxSide;
    const Bytes png = Png(1, 1);
    struct Case {
        const char* what;
        Bytes data;
        bool acceptable;
    };
    const Case cases[] = {
        {"GIF at the limit", kvtest::GifBytes(max, max).Frame({}).Bytes(), true},
        {"GIF screen of 65535 x 65535", kvtest::GifBytes(65535, 65535).Frame({}).Bytes(), false},
        {"GIF frame beyond its small screen", kvtest::GifBytes(16, 16).Frame({0, 0, max + 1, 1}).Bytes(), false},
        {"PNG at the limit", Png(max, 1), true},
        {"PNG one beyond", Png(1, max + 1), false},
        {"PNG of 2^32 - 1", Png(0xFFFFFFFFu, 1), false},
        {"JPEG beyond", Jpeg(max + 1, 10), false},
        {"BMP beyond, top-down", Bmp(10, -(max + 1)), false},
        {"core BMP of 65535", CoreBmp(65535, 1), false},
        {"cut PNG header", Bytes(png.begin(), png.begin() + 20), false},
        {"JPEG without a frame", {0xFF, 0xD8, 0xFF, 0xD9, 0, 0}, false},
        {"another format", {'I', 'I', 42, 0, 8, 0, 0, 0}, false},
        {"nothing", {}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CPictureBounds::Acceptable(c.data), c.acceptable) << c.what;
}

}  // namespace
