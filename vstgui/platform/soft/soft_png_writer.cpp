#include "vstgui/platform/soft/soft_window.h"

#include <stb_image_write.h>

#include <vector>

namespace VSTGUI::soft {

bool writePng(const char* path, const Pixels& pixels) {
    if (pixels.width <= 0 || pixels.height <= 0) return false;
    std::vector<uint8_t> rgba(static_cast<size_t>(pixels.width) * pixels.height * 4);
    for (size_t i = 0; i < pixels.data.size(); ++i) {
        const uint32_t p = pixels.data[i];
        rgba[i * 4 + 0] = static_cast<uint8_t>(p >> 16);
        rgba[i * 4 + 1] = static_cast<uint8_t>(p >> 8);
        rgba[i * 4 + 2] = static_cast<uint8_t>(p);
        rgba[i * 4 + 3] = 255; // the screen is opaque whatever the surface kept in its alpha bytes
    }
    return stbi_write_png(path, pixels.width, pixels.height, 4, rgba.data(), pixels.width * 4) != 0;
}

} // namespace VSTGUI::soft
