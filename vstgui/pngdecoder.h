// PNG decoding from memory: 8 bits per channel, rows top first, the file's own channel count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace VSTGUI {

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<uint8_t, void (*)(void*)> pixels{nullptr, nullptr};
};

bool decodePng(const uint8_t* data, size_t size, DecodedImage& out);

} // namespace VSTGUI
