#include "vstgui/pngdecoder.h"

#include <stb_image.h>

#include <climits>

namespace VSTGUI {

bool decodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
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
