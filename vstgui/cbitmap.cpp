#include "vstgui/cbitmap.h"

#include "vstgui/cdrawcontext.h"
#include "vstgui/platform/platform.h"
#include "vstgui/platform/resources.h"
#include "vstgui/pngdecoder.h"

#include <cstring>

namespace VSTGUI {

CBitmap::CBitmap(int32_t id) : resourceID(id) {
    loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

CBitmap::~CBitmap() {
    dispose();
}

void CBitmap::dispose() {
    pixels.reset();
    opaque = false;
    width = 0;
    height = 0;
}

bool CBitmap::loadFromPath(const void* /*path*/) {
    dispose();
    return false;
}

bool CBitmap::loadFromResource(int32_t id) {
    dispose();
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (platform::findResource("PNG", id & 0xFFFF, data, size) && loadPng(data, size)) return true;

    pixels = platform::loadModuleBitmap(id & 0xFFFF);
    if (!pixels) return false;
    opaque = true;
    width = pixels->width();
    height = pixels->height();
    return true;
}

bool CBitmap::loadPng(const uint8_t* data, size_t size) {
    DecodedImage img;
    if (!decodePng(data, size, img)) return false;
    const int w = img.width, h = img.height, n = img.channels;
    std::unique_ptr<platform::Image> surface = platform::backend().createImage(w, h);
    if (!surface || !surface->bits()) return false;

    uint8_t* bits = surface->bits();
    const uint8_t* src = img.pixels.get();
    for (int i = 0; i < h; ++i) {
        uint8_t* row = bits + static_cast<size_t>(h - 1 - i) * w * 4;
        for (int x = 0; x < w; ++x, src += n) {
            uint8_t r, g, b, a;
            if (n >= 3) {
                r = src[0], g = src[1], b = src[2];
                a = n == 4 ? src[3] : 255;
            } else {
                // Grey images: the grey value in all three colours.
                r = g = b = src[0];
                a = n == 2 ? src[1] : 255;
            }
            if (a != 255) {
                // A shift by 8, not a division by 255: the shipped skins are tuned to this rule.
                r = static_cast<uint8_t>((r * a) >> 8);
                g = static_cast<uint8_t>((g * a) >> 8);
                b = static_cast<uint8_t>((b * a) >> 8);
            }
            uint8_t* px = row + x * 4;
            px[0] = b;
            px[1] = g;
            px[2] = r;
            px[3] = a;
        }
    }
    width = w;
    height = h;
    pixels = std::move(surface);
    opaque = false;
    return true;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& srcOffset) {
    if (!pixels) return;
    if (!opaque) {
        drawAlphaBlend(context, rect, srcOffset, 255);
        return;
    }
    platform::Surface* s = context ? context->getSurface() : nullptr;
    if (!s || &s->owner != &pixels->owner) return;
    CRect dest(rect);
    dest.offset(context->offset.h, context->offset.v);
    s->copyImage(*pixels, dest, srcOffset);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& srcOffset) {
    if (!pixels) return;
    if (!opaque) {
        draw(context, rect, srcOffset);
        return;
    }
    platform::Surface* s = context ? context->getSurface() : nullptr;
    if (!s || &s->owner != &pixels->owner) return;
    CRect dest(rect);
    dest.offset(context->offset.h, context->offset.v);
    s->keyImage(*pixels, dest, srcOffset, transparentCColor);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& srcOffset,
                             uint8_t alpha) {
    if (!pixels) return;
    platform::Surface* s = context ? context->getSurface() : nullptr;
    // A bitmap loaded through one backend cannot be drawn into another's surface.
    if (!s || &s->owner != &pixels->owner) return;
    CRect dest(rect);
    dest.offset(context->offset.h, context->offset.v);
    s->blendImage(*pixels, dest, srcOffset, alpha, !opaque);
}

} // namespace VSTGUI
