#include "GifBytes.h"

namespace kvtest {

GifBytes::GifBytes(int width, int height, std::uint8_t background) {
    mData = {'G', 'I', 'F', '8', '9', 'a'};
    Word(width);
    Word(height);
    mData.push_back(0x80 | 0x10 | 0x01);  // global table of 2^(1+1) entries
    mData.push_back(background);
    mData.push_back(0);
    const std::uint8_t table[] = {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 255, 0};
    mData.insert(mData.end(), std::begin(table), std::end(table));
}

void GifBytes::Word(int value) {
    mData.push_back(static_cast<std::uint8_t>(value & 0xFF));
    mData.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

GifBytes& GifBytes::Frame(const GifFrameSpec& f) {
    if (f.control) {
        mData.insert(mData.end(), {0x21, 0xF9, 0x04, static_cast<std::uint8_t>((f.disposal & 7) << 2)});
        Word(f.delay);
        mData.insert(mData.end(), {0x00, 0x00});
    }
    mData.push_back(0x2C);
    Word(f.left);
    Word(f.top);
    Word(f.width);
    Word(f.height);
    mData.push_back(0x00);
    mData.push_back(2);  // minimum code size: codes are 3 bits
    std::vector<std::uint8_t> codes;
    std::uint32_t bits = 0;
    int count = 0;
    const auto emit = [&](std::uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            codes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < f.width * f.height; ++i) {
        emit(4);  // clear
        emit(f.colour);
    }
    emit(5);  // end of information
    if (count > 0) {
        codes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    }
    for (std::size_t i = 0; i < codes.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, codes.size() - i);
        mData.push_back(static_cast<std::uint8_t>(n));
        mData.insert(mData.end(), codes.begin() + static_cast<std::ptrdiff_t>(i),
                     codes.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    mData.push_back(0);
    return *this;
}

GifBytes& GifBytes::Comment() {
    mData.insert(mData.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 0});
    return *this;
}

GifBytes& GifBytes::Application() {
    mData.insert(mData.end(), {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
                               3, 1, 0, 0, 0});
    return *this;
}

std::vector<std::uint8_t> GifBytes::Bytes() const {
    auto bytes = mData;
    bytes.push_back(0x3B);
    return bytes;
}

}  // namespace kvtest
