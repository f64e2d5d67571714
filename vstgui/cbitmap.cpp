#include "vstgui/cbitmap.h"

#include "vstgui/cdrawcontext.h"
#include "vstgui/cscale.h"
#include "vstgui/imageresample.h"
#include "vstgui/platform/platform.h"
#include "vstgui/platform/resources.h"
#include "vstgui/pngdecoder.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

namespace {

// Decoded pixels premultiplied, a shift by 8 rather than a division by 255: the shipped skins are tuned
// to this rule.
PixelBlock premultiplied(const DecodedImage& img) {
    PixelBlock block;
    block.width = img.width;
    block.height = img.height;
    block.rgba.resize(static_cast<size_t>(img.width) * img.height * 4);
    const int n = img.channels;
    const uint8_t* src = img.pixels.get();
    uint8_t* dst = block.rgba.data();
    for (size_t i = 0, count = static_cast<size_t>(img.width) * img.height; i < count;
         ++i, src += n, dst += 4) {
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
            r = static_cast<uint8_t>((r * a) >> 8);
            g = static_cast<uint8_t>((g * a) >> 8);
            b = static_cast<uint8_t>((b * a) >> 8);
        }
        dst[0] = r;
        dst[1] = g;
        dst[2] = b;
        dst[3] = a;
    }
    return block;
}

// Into the surfaces' layout: bytes blue, green, red, alpha, rows bottom-up.
std::unique_ptr<platform::Image> toImage(const PixelBlock& block) {
    std::unique_ptr<platform::Image> image = platform::backend().createImage(block.width, block.height);
    if (!image || !image->bits()) return nullptr;
    uint8_t* bits = image->bits();
    const uint8_t* src = block.rgba.data();
    for (int i = 0; i < block.height; ++i) {
        uint8_t* px = bits + static_cast<size_t>(block.height - 1 - i) * block.width * 4;
        for (int x = 0; x < block.width; ++x, src += 4, px += 4) {
            px[0] = src[2];
            px[1] = src[1];
            px[2] = src[0];
            px[3] = src[3];
        }
    }
    return image;
}

} // namespace

CBitmap::CBitmap(int32_t id) : resourceID(id) {
    loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

CBitmap::CBitmap() : resourceID(0) {}

CBitmap::~CBitmap() {
    dispose();
}

void CBitmap::dispose() {
    pixels.reset();
    opaque = false;
    width = 0;
    height = 0;
    scalePercent = kUnscaled;
    frameCount = 1;
    deviceFrameHeight = 0;
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
    std::unique_ptr<platform::Image> surface = toImage(premultiplied(img));
    if (!surface) return false;
    width = img.width;
    height = img.height;
    pixels = std::move(surface);
    opaque = false;
    return true;
}

CBitmap::CBitmap(int32_t id, int32_t resource2x, int32_t percent, int32_t frames) : resourceID(id) {
    if (percent == kUnscaled || !loadScaled(resource2x, percent, frames)) loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

bool CBitmap::loadScaled(int32_t resource2x, int32_t percent, int32_t frames) {
    dispose();
    const uint8_t* data = nullptr;
    size_t size = 0;
    DecodedImage img;
    if (frames < 1 || percent < kUnscaled || percent > 2 * kUnscaled ||
        !platform::findResource("PNG", resource2x & 0xFFFF, data, size) || !decodePng(data, size, img))
        return false;
    // The 2x image is twice the logical size in each direction, frame for frame.
    if (img.width % 2 != 0 || img.height % (2 * frames) != 0) return false;
    const CCoord logicalWidth = img.width / 2, logicalHeight = img.height / 2;
    const CCoord logicalFrame = logicalHeight / frames;
    PixelBlock block = premultiplied(img);
    img.pixels.reset();
    CCoord frameHeight = logicalFrame * 2;
    if (percent != 2 * kUnscaled) {
        // Rounded up, so every device rectangle of a frame's logical height finds rows of its own frame.
        const CCoord widthOut = (logicalWidth * percent + 99) / 100;
        frameHeight = (logicalFrame * percent + 99) / 100;
        block = resampleFrames(block, frames, widthOut, frameHeight, percent / 200.0);
    }
    std::unique_ptr<platform::Image> surface = toImage(block);
    if (!surface) return false;
    width = logicalWidth;
    height = logicalHeight;
    pixels = std::move(surface);
    opaque = false;
    scalePercent = percent;
    frameCount = frames;
    deviceFrameHeight = frameHeight;
    return true;
}

CBitmap* CBitmap::createTinted(CColor colour) const {
    if (!pixels || !pixels->bits()) return nullptr;
    std::unique_ptr<platform::Image> image =
        platform::backend().createImage(pixels->width(), pixels->height());
    if (!image || !image->bits()) return nullptr;
    const uint8_t* src = pixels->bits();
    uint8_t* dst = image->bits();
    const uint8_t bgr[3] = {colour.blue, colour.green, colour.red};
    for (size_t i = 0, n = static_cast<size_t>(pixels->width()) * pixels->height(); i < n; ++i) {
        const uint8_t a = src[i * 4 + 3];
        for (int c = 0; c < 3; ++c) dst[i * 4 + c] = static_cast<uint8_t>((bgr[c] * a + 127) / 255);
        dst[i * 4 + 3] = a;
    }
    auto* tinted = new CBitmap();
    tinted->width = width;
    tinted->height = height;
    tinted->opaque = false;
    tinted->pixels = std::move(image);
    tinted->scalePercent = scalePercent;
    tinted->frameCount = frameCount;
    tinted->deviceFrameHeight = deviceFrameHeight;
    return tinted;
}

bool CBitmap::toDevice(const CDrawContext& context, const CRect& rect, const CPoint& srcOffset, CRect& dest,
                       CPoint& source) const {
    if (context.getScale() != scalePercent) return false;
    dest = rect;
    dest.offset(context.offset.h, context.offset.v);
    if (scalePercent == kUnscaled) {
        source = srcOffset;
        return true;
    }
    dest = context.toSurface(dest);
    // Frames may be a fraction of a logical pixel apart on the device: find the frame, then the row in it.
    const CCoord logicalFrame = height / frameCount;
    const CCoord frame = logicalFrame > 0 ? floorDivide(srcOffset.v, logicalFrame) : 0;
    source = CPoint(VSTGUI::toDevice(srcOffset.h, scalePercent),
                    frame * deviceFrameHeight +
                        VSTGUI::toDevice(srcOffset.v - frame * logicalFrame, scalePercent));
    return true;
}

namespace {

// The device rectangle of the pixels that are not all zero in `rows` rows of a premultiplied image from
// row `top` (counted from the top of the picture), relative to (0, top); empty when there are none.
CRect drawnPixels(const platform::Image& image, uint8_t* bits, CCoord top, CCoord rows) {
    const CCoord width = image.width();
    const auto* words = reinterpret_cast<const uint32_t*>(bits);
    CCoord left = width, right = 0, first = rows, last = 0;
    for (CCoord y = 0; y < rows; ++y) {
        const uint32_t* row = words + static_cast<size_t>(image.height() - 1 - (top + y)) * width;
        CCoord x0 = 0;
        while (x0 < width && row[x0] == 0) ++x0;
        if (x0 == width) continue;
        CCoord x1 = width;
        while (row[x1 - 1] == 0) --x1;
        left = std::min(left, x0);
        right = std::max(right, x1);
        first = std::min(first, y);
        last = y + 1;
    }
    return first < last ? CRect(left, first, right, last) : CRect();
}

} // namespace

std::vector<CRect> CBitmap::frameBounds(int32_t frames) const {
    const auto compute = [this](int32_t count) {
        std::vector<CRect> bounds(static_cast<size_t>(std::max(count, 0)));
        if (count < 1 || !pixels) return bounds;
        const CCoord logicalFrame = height / count;
        const CCoord deviceFrame =
            scalePercent == kUnscaled || count != frameCount ? pixels->height() / count : deviceFrameHeight;
        uint8_t* bits = const_cast<platform::Image&>(*pixels).bits();
        for (int32_t k = 0; k < count; ++k) {
            if (!bits || (k + 1) * deviceFrame > pixels->height()) {
                bounds[k] = CRect(0, 0, width, logicalFrame);
                continue;
            }
            const CRect device = drawnPixels(*pixels, bits, k * deviceFrame, deviceFrame);
            bounds[k] = device.isEmpty() ? CRect() : coveringLogical(device, scalePercent);
        }
        return bounds;
    };
    std::call_once(boundsOnce, [&] {
        keptBounds = compute(frames);
        keptBoundsFrames = frames;
    });
    return frames == keptBoundsFrames ? keptBounds : compute(frames);
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& srcOffset) {
    if (!pixels) return;
    if (!opaque) {
        drawAlphaBlend(context, rect, srcOffset, 255);
        return;
    }
    platform::Surface* s = context ? context->getSurface() : nullptr;
    if (!s || &s->owner != &pixels->owner) return;
    CRect dest;
    CPoint source;
    if (toDevice(*context, rect, srcOffset, dest, source)) s->copyImage(*pixels, dest, source);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& srcOffset) {
    if (!pixels) return;
    if (!opaque) {
        draw(context, rect, srcOffset);
        return;
    }
    platform::Surface* s = context ? context->getSurface() : nullptr;
    if (!s || &s->owner != &pixels->owner) return;
    CRect dest;
    CPoint source;
    if (toDevice(*context, rect, srcOffset, dest, source))
        s->keyImage(*pixels, dest, source, transparentCColor);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& srcOffset,
                             uint8_t alpha) {
    if (!pixels) return;
    platform::Surface* s = context ? context->getSurface() : nullptr;
    // A bitmap loaded through one backend cannot be drawn into another's surface.
    if (!s || &s->owner != &pixels->owner) return;
    CRect dest;
    CPoint source;
    if (toDevice(*context, rect, srcOffset, dest, source))
        s->blendImage(*pixels, dest, source, alpha, !opaque);
}

} // namespace VSTGUI
