#include "vstgui/pngdecoder.h"

#include <stb_image.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace VSTGUI {

namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t bigEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

int bigEndian16(const uint8_t* p) {
    return p[0] << 8 | p[1];
}

// The PNG chunk checksum (CRC-32 of the type and the data).
uint32_t chunkCrc(const uint8_t* typeAndData, size_t size) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) c = table[(c ^ typeAndData[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Undoes the PNG row filters into out, the first row against a row of zeros; false for an unknown filter.
bool unfilter(const uint8_t* rows, int height, size_t stride, size_t bpp, uint8_t* out) {
    const std::vector<uint8_t> zeros(stride, 0);
    const uint8_t* above = zeros.data();
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rows + y * (stride + 1) + 1;
        uint8_t* line = out + y * stride;
        const size_t lead = bpp < stride ? bpp : stride;
        switch (in[-1]) {
        case 0:
            std::memcpy(line, in, stride);
            break;
        case 1:
            std::memcpy(line, in, lead);
            for (size_t i = bpp; i < stride; ++i) line[i] = static_cast<uint8_t>(in[i] + line[i - bpp]);
            break;
        case 2:
            for (size_t i = 0; i < stride; ++i) line[i] = static_cast<uint8_t>(in[i] + above[i]);
            break;
        case 3:
            for (size_t i = 0; i < lead; ++i) line[i] = static_cast<uint8_t>(in[i] + (above[i] >> 1));
            for (size_t i = bpp; i < stride; ++i)
                line[i] = static_cast<uint8_t>(in[i] + ((line[i - bpp] + above[i]) >> 1));
            break;
        case 4:
            for (size_t i = 0; i < lead; ++i) line[i] = static_cast<uint8_t>(in[i] + above[i]);
            for (size_t i = bpp; i < stride; ++i)
                line[i] = static_cast<uint8_t>(in[i] + paeth(line[i - bpp], above[i], above[i - bpp]));
            break;
        default:
            return false;
        }
        above = line;
    }
    return true;
}

} // namespace

bool decodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    // Only PNG, on every build: the system's stb library would also take other formats.
    if (!data || size < sizeof(kSignature) || size > static_cast<size_t>(INT_MAX)) return false;
    if (std::memcmp(data, kSignature, sizeof(kSignature)) != 0) return false;
    int w = 0, h = 0, n = 0;
    stbi_uc* decoded = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &n, 0);
    if (!decoded) return false;
    out.width = w;
    out.height = h;
    out.channels = n;
    out.pixels = std::unique_ptr<uint8_t, void (*)(void*)>(decoded, stbi_image_free);
    return true;
}

bool PngFrames::open(const uint8_t* data, size_t size) {
    *this = PngFrames();
    if (!data || size < sizeof(kSignature) + 25 || size > static_cast<size_t>(INT_MAX) ||
        std::memcmp(data, kSignature, sizeof(kSignature)) != 0)
        return false;
    const uint8_t* index = nullptr;
    size_t indexSize = 0;
    int height = 0, idats = 0;
    for (size_t pos = sizeof(kSignature); pos + 12 <= size;) {
        const size_t length = bigEndian32(data + pos);
        if (length > size - pos - 12) return false;
        const uint8_t* type = data + pos + 4;
        const uint8_t* payload = data + pos + 8;
        if (std::memcmp(type, "IHDR", 4) == 0 && length == 13) {
            imageWidth = static_cast<int>(bigEndian32(payload));
            height = static_cast<int>(bigEndian32(payload + 4));
            const uint8_t depth = payload[8], colour = payload[9], interlace = payload[12];
            channelCount = colour == 2 ? 3 : colour == 6 ? 4 : 0;
            if (depth != 8 || interlace != 0 || channelCount == 0) return false;
        } else if (std::memcmp(type, "frIX", 4) == 0) {
            // An index changed after it was written would send frames to the wrong data.
            if (chunkCrc(type, length + 4) != bigEndian32(payload + length)) return false;
            index = payload;
            indexSize = length;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            stream = payload;
            streamSize = length;
            ++idats;
        }
        pos += length + 12;
    }
    if (!index || indexSize < 4 || idats != 1 || imageWidth <= 0 || imageWidth > 0xFFFF || height <= 0 ||
        streamSize < 7)
        return false;
    const uint32_t count = bigEndian32(index);
    if (count == 0 || indexSize != 4 + static_cast<size_t>(count) * 12 || height % count != 0) return false;
    rowsPerFrame = height / static_cast<int>(count);
    starts.resize(count);
    areas.resize(count);
    for (uint32_t k = 0; k < count; ++k) {
        const uint8_t* entry = index + 4 + k * 12;
        starts[k] = bigEndian32(entry);
        // Every frame starts after the zlib header and the one before it, and before the checksum.
        if (starts[k] < 2 || (k > 0 && starts[k] <= starts[k - 1]) || starts[k] >= streamSize - 4) {
            *this = PngFrames();
            return false;
        }
        Area& a = areas[k];
        a.left = bigEndian16(entry + 4);
        a.top = bigEndian16(entry + 6);
        a.right = bigEndian16(entry + 8);
        a.bottom = bigEndian16(entry + 10);
        if (a.right > imageWidth || a.bottom > rowsPerFrame ||
            (!a.empty() && (a.left >= a.right || a.top >= a.bottom))) {
            *this = PngFrames();
            return false;
        }
        if (a.empty()) a = Area();
    }
    return true;
}

bool PngFrames::decodeFrame(int frame, std::vector<uint8_t>& out) const {
    if (frame < 0 || frame >= frames()) return false;
    const size_t from = starts[static_cast<size_t>(frame)];
    const size_t to = frame + 1 < frames() ? starts[static_cast<size_t>(frame) + 1] : streamSize - 4;
    // The frame's blocks end in the flush's empty stored block; a last, empty stored block ends them.
    static const uint8_t kLastBlock[5] = {0x01, 0x00, 0x00, 0xFF, 0xFF};
    std::vector<uint8_t> deflated(to - from + sizeof(kLastBlock));
    std::memcpy(deflated.data(), stream + from, to - from);
    std::memcpy(deflated.data() + (to - from), kLastBlock, sizeof(kLastBlock));

    const size_t stride = static_cast<size_t>(imageWidth) * channelCount;
    const size_t filteredSize = (stride + 1) * rowsPerFrame;
    if (filteredSize > static_cast<size_t>(INT_MAX) || deflated.size() > static_cast<size_t>(INT_MAX))
        return false;
    std::vector<uint8_t> filtered(filteredSize);
    const int inflated = stbi_zlib_decode_noheader_buffer(
        reinterpret_cast<char*>(filtered.data()), static_cast<int>(filteredSize),
        reinterpret_cast<const char*>(deflated.data()), static_cast<int>(deflated.size()));
    if (inflated != static_cast<int>(filteredSize)) return false;
    out.resize(stride * rowsPerFrame);
    return unfilter(filtered.data(), rowsPerFrame, stride, static_cast<size_t>(channelCount), out.data());
}

} // namespace VSTGUI
