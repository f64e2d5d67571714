// Decoded skin images and the pixel measurements the skin tests share.
#pragma once

#include <string>
#include <vector>

namespace skin {

struct Pixel {
    int r, g, b, a;
};

struct Point {
    double x, y;
};

// An RGBA image decoded with stb_image; `channels` is the count stored in the file.
struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> rgba;

    Pixel at(int x, int y) const;
    bool valid() const { return width > 0 && height > 0; }
};

// Loads resources/skin/<file>; an empty image when the file is missing or does not decode.
Image loadSkin(const std::string& file);

// The part of a vertical filmstrip that holds frame `index`.
struct Frame {
    const Image* image;
    int index;
    int height;

    int width() const { return image->width; }
    Pixel at(int x, int y) const { return image->at(x, index * height + y); }
};

double luminance(const Pixel& p);

// The white index paint of knobs and switches is a warm white, unlike the neutral chrome and the grey
// highlights around it.
bool isIndexPaint(const Pixel& p);

Point centroid(const std::vector<Point>& points);

// Direction of a point seen from a centre, in degrees counter-clockwise from 3 o'clock (y up), in
// the range (-180, 180].
double bearingDegrees(Point centre, Point p);

// Smallest absolute difference between two angles in degrees.
double angleDifference(double a, double b);

} // namespace skin
