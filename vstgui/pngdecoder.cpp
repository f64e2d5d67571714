#include "vstgui/pngdecoder.h"

#include <stb_image.h>

#include <climits>
#include <cstring>

namespace VSTGUI {

bool decodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    // Only PNG, on every build: the system's stb library would also take other formats.
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!data || size < sizeof(signature) || size > static_cast<size_t>(INT_MAX)) return false;
    if (std::memcmp(data, signature, sizeof(signature)) != 0) return false;
    int w = 0, h = 0, n = 0;
    stbi_uc* decoded = stbi_load_from_memory(data, static_cast<int>(size), &w, &h, &n, 0);
    if (!decoded) return false;
    out.width = w;
    out.height = h;
    out.channels = n;
    out.pixels = std::unique_ptr<uint8_t, void (*)(void*)>(decoded, stbi_image_free);
    return true;
}

} // namespace VSTGUI
