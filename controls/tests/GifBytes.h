#pragma once
// Builds small GIF files for tests: a 4-colour global table (black, white,
// red, green) and frames whose pixels are colour indexes, written with a
// clear code before every pixel so that any decoder reads them.

#include <cstdint>
#include <vector>

namespace kvtest {

enum GifColour : std::uint8_t { kBlack = 0, kWhite = 1, kRed = 2, kGreen = 3 };

struct GifFrameSpec {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    std::uint8_t colour = kRed;
    bool control = true;  // write a graphic control extension
    int delay = 10;
    int disposal = 0;
};

class GifBytes {
public:
    GifBytes(int width, int height, std::uint8_t background = kWhite);
    GifBytes& Frame(const GifFrameSpec& frame);
    GifBytes& Comment();
    GifBytes& Application();
    // The bytes so far plus the trailer.
    std::vector<std::uint8_t> Bytes() const;
    // The bytes so far, without a trailer.
    const std::vector<std::uint8_t>& Raw() const { return mData; }

private:
    void Word(int value);
    std::vector<std::uint8_t> mData;
};

}  // namespace kvtest
