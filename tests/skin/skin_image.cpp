#include "skin_image.h"

#include <stb/stb_image.h>

#include <cmath>

namespace skin {

Pixel Image::at(int x, int y) const {
    const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

Image loadSkin(const std::string& file) {
    Image image;
    const std::string path = std::string(VR58_SKIN_DIR) + "/" + file;
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 4);
    if (data == nullptr) return image;
    image.width = w;
    image.height = h;
    image.channels = n;
    image.rgba.assign(data, data + static_cast<size_t>(w) * h * 4);
    stbi_image_free(data);
    return image;
}

double luminance(const Pixel& p) {
    return 0.2126 * p.r + 0.7152 * p.g + 0.0722 * p.b;
}

bool isIndexPaint(const Pixel& p) {
    return p.a > 200 && p.r > 190 && p.g > 180 && p.r - p.b >= 9;
}

Point centroid(const std::vector<Point>& points) {
    Point c{0, 0};
    for (const Point& p : points) {
        c.x += p.x;
        c.y += p.y;
    }
    if (!points.empty()) {
        c.x /= points.size();
        c.y /= points.size();
    }
    return c;
}

double bearingDegrees(Point centre, Point p) {
    return std::atan2(centre.y - p.y, p.x - centre.x) * 180.0 / M_PI;
}

double angleDifference(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

} // namespace skin
