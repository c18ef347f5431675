#pragma once
// The sizes a picture's data declares, read from its header before
// anything is decoded, and the largest picture the controls take. Decoders
// and the animation surface size their buffers from these numbers, so a
// few bytes that declare a huge picture are refused before any of that.

#include <cstdint>
#include <span>
#include <vector>

#include <wx/gdicmn.h>

class CPictureBounds {
public:
    // Far beyond any skin picture (the largest is 640 x 440), small enough
    // that a surface of it stays at 64 MiB.
    static constexpr int kMaxSide = 4096;

    // Every size the data declares: a GIF's screen and each of its frames;
    // the one picture of a PNG, JPEG or BMP. Empty for another format or a
    // header that is cut short.
    static std::vector<wxSize> Declared(std::span<const std::uint8_t> data);
    // Whether the data may be decoded: a known format whose declared sizes
    // all stay within kMaxSide on each side.
    static bool Acceptable(std::span<const std::uint8_t> data);
};
