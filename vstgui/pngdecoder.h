// PNG decoding from memory: 8 bits per channel, rows top first, the file's own channel count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace VSTGUI {

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<uint8_t, void (*)(void*)> pixels{nullptr, nullptr};
};

bool decodePng(const uint8_t* data, size_t size, DecodedImage& out);

// A filmstrip PNG that carries a frame index (chunk "frIX", written by the skin generator): its image
// data is one zlib stream flushed at every frame boundary, so any frame inflates without the others, and
// the index gives each frame's start in the stream and the rectangle of its pixels that are not fully
// transparent. Opening an image reads only its headers; the data stays where it is (the module's
// resources) and must outlive this object.
class PngFrames {
public:
    struct Area {
        int left = 0, top = 0, right = 0, bottom = 0; // from the frame's top-left; right, bottom exclusive
        bool empty() const { return right <= left || bottom <= top; }
    };

    // False for any PNG without a usable index (its checksum right, 8-bit RGB or RGBA, not interlaced, one
    // IDAT chunk, frames that split the rows evenly, offsets in order, areas inside the frame): such
    // images are decoded whole with decodePng.
    bool open(const uint8_t* data, size_t size);

    int width() const { return imageWidth; }
    int frameHeight() const { return rowsPerFrame; }
    int frames() const { return static_cast<int>(starts.size()); }
    int channels() const { return channelCount; }
    const Area& drawn(int frame) const { return areas[static_cast<size_t>(frame)]; }
    // The frame's pixels into out: frameHeight() rows top first, width() * channels() bytes each.
    // Any thread; false when the data does not inflate to exactly the frame's rows.
    bool decodeFrame(int frame, std::vector<uint8_t>& out) const;

private:
    const uint8_t* stream = nullptr; // the zlib stream of the IDAT chunk
    size_t streamSize = 0;
    int imageWidth = 0;
    int rowsPerFrame = 0;
    int channelCount = 0;
    std::vector<size_t> starts;
    std::vector<Area> areas;
};

} // namespace VSTGUI
