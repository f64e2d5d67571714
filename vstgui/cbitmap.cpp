#include "vstgui/cbitmap.h"

#include "vstgui/cdrawcontext.h"
#include "vstgui/cscale.h"
#include "vstgui/imageresample.h"
#include "vstgui/platform/platform.h"
#include "vstgui/platform/resources.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VSTGUI {

namespace {

std::atomic<int64_t> heldBytes{0};
std::atomic<int64_t> madeFrames{0};

int64_t bytesOf(const platform::Image& image) {
    return static_cast<int64_t>(image.width()) * image.height() * 4;
}

std::unique_ptr<platform::Image> counted(std::unique_ptr<platform::Image> image) {
    if (image) heldBytes.fetch_add(bytesOf(*image), std::memory_order_relaxed);
    return image;
}

void drop(std::unique_ptr<platform::Image>& image) {
    if (image) heldBytes.fetch_sub(bytesOf(*image), std::memory_order_relaxed);
    image.reset();
}

// Decoded pixels premultiplied, a shift by 8 rather than a division by 255: the shipped skins are tuned
// to this rule. Grey images give the grey value in all three colours.
void premultiply(const uint8_t* src, int channels, size_t count, uint8_t* dst) {
    for (size_t i = 0; i < count; ++i, src += channels, dst += 4) {
        uint8_t r, g, b, a;
        if (channels >= 3) {
            r = src[0], g = src[1], b = src[2];
            a = channels == 4 ? src[3] : 255;
        } else {
            r = g = b = src[0];
            a = channels == 2 ? src[1] : 255;
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
}

PixelBlock premultiplied(const uint8_t* pixels, int width, int height, int channels) {
    PixelBlock block;
    block.width = width;
    block.height = height;
    block.rgba.resize(static_cast<size_t>(width) * height * 4);
    premultiply(pixels, channels, static_cast<size_t>(width) * height, block.rgba.data());
    return block;
}

// The rectangle of the pixels that are not all zero in `rows` rows of a block from row `top`, relative to
// (0, top); empty when there are none.
CRect drawnArea(const PixelBlock& block, int top, int rows) {
    const auto* words = reinterpret_cast<const uint32_t*>(block.rgba.data());
    CCoord left = block.width, right = 0, first = rows, last = 0;
    for (int y = 0; y < rows; ++y) {
        const uint32_t* row = words + static_cast<size_t>(top + y) * block.width;
        CCoord x0 = 0;
        while (x0 < block.width && row[x0] == 0) ++x0;
        if (x0 == block.width) continue;
        CCoord x1 = block.width;
        while (row[x1 - 1] == 0) --x1;
        left = std::min(left, x0);
        right = std::max(right, x1);
        first = std::min<CCoord>(first, y);
        last = y + 1;
    }
    return first < last ? CRect(left, first, right, last) : CRect();
}

// An area of a block (rows from `top`) in the surfaces' layout: bytes blue, green, red, alpha, rows
// bottom-up.
std::unique_ptr<platform::Image> toImage(platform::Backend& system, const PixelBlock& block, int top,
                                         const CRect& area) {
    std::unique_ptr<platform::Image> image = counted(system.createImage(area.width(), area.height()));
    if (!image || !image->bits()) return nullptr;
    uint8_t* bits = image->bits();
    for (CCoord i = 0; i < area.height(); ++i) {
        const uint8_t* src =
            block.rgba.data() + ((static_cast<size_t>(top) + area.top + i) * block.width + area.left) * 4;
        uint8_t* px = bits + static_cast<size_t>(area.height() - 1 - i) * area.width() * 4;
        for (CCoord x = 0; x < area.width(); ++x, src += 4, px += 4) {
            px[0] = src[2];
            px[1] = src[1];
            px[2] = src[0];
            px[3] = src[3];
        }
    }
    return image;
}

} // namespace

int64_t CBitmap::pixelBytesHeld() {
    return heldBytes.load(std::memory_order_relaxed);
}

int64_t CBitmap::framesMade() {
    return madeFrames.load(std::memory_order_relaxed);
}

CBitmap::CBitmap(int32_t id) : resourceID(id) {
    loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

CBitmap::CBitmap() : resourceID(0) {}

CBitmap::~CBitmap() {
    dispose();
}

void CBitmap::dispose() {
    setFrames(0);
    drop(whole);
    source = PngFrames();
    lazy = false;
    opaque = false;
    width = 0;
    height = 0;
    scalePercent = kUnscaled;
    deviceWidth = 0;
    deviceFrameHeight = 0;
}

bool CBitmap::loadFromPath(const void* /*path*/) {
    dispose();
    return false;
}

void CBitmap::setFrames(int32_t count) {
    for (int32_t k = 0; frames && k < frameCount; ++k) drop(frames[k].image);
    frames.reset(count > 0 ? new Frame[static_cast<size_t>(count)] : nullptr);
    frameCount = count;
}

bool CBitmap::loadFromResource(int32_t id) {
    dispose();
    maker = &platform::backend();
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (platform::findResource("PNG", id & 0xFFFF, data, size) && loadPng(data, size)) return true;

    std::unique_ptr<platform::Image> image = counted(platform::loadModuleBitmap(id & 0xFFFF));
    if (!image) return false;
    opaque = true;
    width = deviceWidth = image->width();
    height = deviceFrameHeight = image->height();
    setFrames(1);
    frames[0].area = CRect(0, 0, width, height);
    frames[0].image = std::move(image);
    frames[0].ready.store(true, std::memory_order_release);
    return true;
}

bool CBitmap::loadPng(const uint8_t* data, size_t size) {
    opaque = false;
    if (source.open(data, size)) {
        lazy = true;
        width = deviceWidth = source.width();
        deviceFrameHeight = source.frameHeight();
        height = deviceFrameHeight * source.frames();
        setFrames(source.frames());
        return true;
    }
    DecodedImage img;
    if (!decodePng(data, size, img)) return false;
    if (!keepFrames(premultiplied(img.pixels.get(), img.width, img.height, img.channels), 1)) return false;
    width = img.width;
    height = img.height;
    return true;
}

CBitmap::CBitmap(int32_t id, int32_t resource2x, int32_t percent, int32_t frames) : resourceID(id) {
    if (percent == kUnscaled || !loadScaled(resource2x, percent, frames)) loadFromResource(id);
    transparentCColor = kTransparentCColor;
}

bool CBitmap::loadScaled(int32_t resource2x, int32_t percent, int32_t count) {
    dispose();
    maker = &platform::backend();
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (count < 1 || percent < kUnscaled || percent > 2 * kUnscaled ||
        !platform::findResource("PNG", resource2x & 0xFFFF, data, size))
        return false;
    // The 2x image is twice the logical size in each direction, frame for frame.
    PngFrames indexed;
    DecodedImage img;
    CCoord logicalWidth = 0, logicalFrame = 0;
    const bool isIndexed = indexed.open(data, size) && indexed.frames() == count &&
                           indexed.width() % 2 == 0 && indexed.frameHeight() % 2 == 0;
    if (isIndexed) {
        logicalWidth = indexed.width() / 2;
        logicalFrame = indexed.frameHeight() / 2;
    } else {
        if (!decodePng(data, size, img) || img.width % 2 != 0 || img.height % (2 * count) != 0) return false;
        logicalWidth = img.width / 2;
        logicalFrame = img.height / 2 / count;
    }
    // Rounded up between the drawn sizes, so every device rectangle of a frame's logical height finds
    // rows of its own frame.
    const CCoord widthOut = (logicalWidth * percent + 99) / 100;
    const CCoord frameOut = (logicalFrame * percent + 99) / 100;
    if (isIndexed) {
        source = std::move(indexed);
        lazy = true;
        setFrames(count);
    } else {
        PixelBlock block = premultiplied(img.pixels.get(), img.width, img.height, img.channels);
        img.pixels.reset();
        if (percent != 2 * kUnscaled)
            block = resampleFrames(block, count, widthOut, frameOut, percent / 200.0);
        if (!keepFrames(block, count)) return false;
    }
    opaque = false;
    width = logicalWidth;
    height = logicalFrame * count;
    scalePercent = percent;
    deviceWidth = widthOut;
    deviceFrameHeight = frameOut;
    return true;
}

bool CBitmap::keepFrames(const PixelBlock& block, int32_t count) {
    if (count < 1 || block.height % count != 0 || block.width <= 0) return false;
    setFrames(count);
    deviceWidth = block.width;
    deviceFrameHeight = block.height / count;
    for (int32_t k = 0; k < count; ++k) {
        Frame& f = frames[k];
        f.area = drawnArea(block, k * deviceFrameHeight, deviceFrameHeight);
        if (!f.area.isEmpty()) {
            f.image = toImage(*maker, block, k * deviceFrameHeight, f.area);
            if (!f.image) return false;
        }
        f.ready.store(true, std::memory_order_release);
        madeFrames.fetch_add(1, std::memory_order_relaxed);
    }
    return true;
}

const CBitmap::Frame& CBitmap::frame(int32_t k) const {
    Frame& f = frames[k];
    if (!f.ready.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(making);
        if (!f.ready.load(std::memory_order_relaxed)) {
            makeFrame(f, k);
            f.ready.store(true, std::memory_order_release);
        }
    }
    return f;
}

void CBitmap::makeFrame(Frame& f, int32_t k) const {
    // A frame whose data does not inflate draws nothing, like a missing image.
    std::vector<uint8_t> raw;
    if (!lazy || !source.decodeFrame(k, raw)) return;
    madeFrames.fetch_add(1, std::memory_order_relaxed);
    PixelBlock block = premultiplied(raw.data(), source.width(), source.frameHeight(), source.channels());
    raw = std::vector<uint8_t>();
    if (deviceWidth != block.width || deviceFrameHeight != block.height)
        block = resampleFrames(block, 1, deviceWidth, deviceFrameHeight, scalePercent / 200.0);
    const CRect area = drawnArea(block, 0, block.height);
    if (area.isEmpty()) return;
    f.image = toImage(*maker, block, 0, area);
    if (f.image) f.area = area;
}

void CBitmap::makeAllFrames() const {
    for (int32_t k = 0; frames && k < frameCount; ++k) frame(k);
}

CRect CBitmap::estimatedArea(int32_t k) const {
    const PngFrames::Area& a = source.drawn(k);
    if (a.empty()) return CRect();
    if (deviceWidth == source.width() && deviceFrameHeight == source.frameHeight())
        return CRect(a.left, a.top, a.right, a.bottom);
    // Shrunk, a source pixel reaches the output pixels within the kernel's three lobes around it.
    const double f = scalePercent / 200.0;
    CRect r(static_cast<CCoord>(std::floor(a.left * f)) - 4, static_cast<CCoord>(std::floor(a.top * f)) - 4,
            static_cast<CCoord>(std::ceil(a.right * f)) + 4,
            static_cast<CCoord>(std::ceil(a.bottom * f)) + 4);
    return r.bound(CRect(0, 0, deviceWidth, deviceFrameHeight));
}

platform::Image* CBitmap::getImage() const {
    if (!frames) return nullptr;
    if (frameCount == 1) {
        const Frame& only = frame(0);
        if (only.image && only.area == CRect(0, 0, deviceWidth, deviceFrameHeight)) return only.image.get();
    }
    makeAllFrames();
    const std::lock_guard<std::mutex> lock(making);
    if (whole) return whole.get();
    whole = counted(maker->createImage(deviceWidth, deviceFrameHeight * frameCount));
    if (!whole || !whole->bits()) return whole.get();
    uint8_t* bits = whole->bits();
    std::memset(bits, 0, static_cast<size_t>(bytesOf(*whole)));
    const CCoord wholeHeight = whole->height();
    for (int32_t k = 0; k < frameCount; ++k) {
        const Frame& f = frames[k];
        if (!f.image || !f.image->bits()) continue;
        const uint8_t* from = f.image->bits();
        for (CCoord y = 0; y < f.area.height(); ++y) {
            const CCoord stripRow = k * deviceFrameHeight + f.area.top + y; // from the top
            std::memcpy(bits +
                            (static_cast<size_t>(wholeHeight - 1 - stripRow) * deviceWidth + f.area.left) * 4,
                        from + static_cast<size_t>(f.area.height() - 1 - y) * f.area.width() * 4,
                        static_cast<size_t>(f.area.width()) * 4);
        }
    }
    return whole.get();
}

CBitmap* CBitmap::createTinted(CColor colour) const {
    if (!frames) return nullptr;
    makeAllFrames();
    auto* tinted = new CBitmap();
    tinted->maker = &platform::backend();
    tinted->width = width;
    tinted->height = height;
    tinted->opaque = false;
    tinted->scalePercent = scalePercent;
    tinted->deviceWidth = deviceWidth;
    tinted->deviceFrameHeight = deviceFrameHeight;
    tinted->setFrames(frameCount);
    const uint8_t bgr[3] = {colour.blue, colour.green, colour.red};
    for (int32_t k = 0; k < frameCount; ++k) {
        const Frame& from = frames[k];
        Frame& to = tinted->frames[k];
        to.ready.store(true, std::memory_order_relaxed);
        if (!from.image) continue;
        const uint8_t* src = from.image->bits();
        to.image = counted(tinted->maker->createImage(from.image->width(), from.image->height()));
        if (!src || !to.image || !to.image->bits()) {
            tinted->release();
            return nullptr;
        }
        to.area = from.area;
        uint8_t* dst = to.image->bits();
        for (size_t i = 0, n = static_cast<size_t>(from.image->width()) * from.image->height(); i < n; ++i) {
            const uint8_t a = src[i * 4 + 3];
            for (int c = 0; c < 3; ++c) dst[i * 4 + c] = static_cast<uint8_t>((bgr[c] * a + 127) / 255);
            dst[i * 4 + 3] = a;
        }
    }
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

std::vector<CRect> CBitmap::frameBounds(int32_t count) const {
    const auto compute = [this](int32_t n) {
        std::vector<CRect> bounds(static_cast<size_t>(std::max(n, 0)));
        if (n < 1 || !frames || deviceFrameHeight <= 0) return bounds;
        const CCoord logicalFrame = height / n;
        if (n == frameCount) {
            for (int32_t k = 0; k < n; ++k) {
                const Frame& f = frames[k];
                CRect device;
                if (!f.ready.load(std::memory_order_acquire))
                    device = estimatedArea(k);
                else if (f.image && !f.image->bits())
                    device = CRect(0, 0, deviceWidth, deviceFrameHeight);
                else
                    device = f.area;
                bounds[k] = device.isEmpty() ? CRect() : coveringLogical(device, scalePercent);
            }
            return bounds;
        }
        // Frames of another height than the bitmap's own: read the pixels.
        makeAllFrames();
        const CCoord total = deviceFrameHeight * frameCount;
        const CCoord rows = total / n;
        for (int32_t k = 0; k < n; ++k) {
            const CCoord top = k * rows, bottom = top + rows;
            CCoord left = deviceWidth, right = 0, first = rows, last = 0;
            bool unreadable = bottom > total;
            for (int32_t j = std::max<CCoord>(0, top / deviceFrameHeight);
                 !unreadable && j < frameCount && j * deviceFrameHeight < bottom; ++j) {
                const Frame& f = frames[j];
                if (!f.image) continue;
                const uint8_t* bits = f.image->bits();
                if (!bits) {
                    unreadable = true;
                    break;
                }
                const CCoord imageTop = j * deviceFrameHeight + f.area.top;
                const auto* words = reinterpret_cast<const uint32_t*>(bits);
                for (CCoord y = std::max(top, imageTop); y < std::min(bottom, imageTop + f.area.height());
                     ++y) {
                    const uint32_t* row =
                        words + static_cast<size_t>(f.area.height() - 1 - (y - imageTop)) * f.area.width();
                    CCoord x0 = 0, x1 = f.area.width();
                    while (x0 < x1 && row[x0] == 0) ++x0;
                    if (x0 == x1) continue;
                    while (row[x1 - 1] == 0) --x1;
                    left = std::min(left, f.area.left + x0);
                    right = std::max(right, f.area.left + x1);
                    first = std::min(first, y - top);
                    last = std::max(last, y - top + 1);
                }
            }
            if (unreadable) {
                bounds[k] = CRect(0, 0, width, logicalFrame);
                continue;
            }
            const CRect device = first < last ? CRect(left, first, right, last) : CRect();
            bounds[k] = device.isEmpty() ? CRect() : coveringLogical(device, scalePercent);
        }
        return bounds;
    };
    std::call_once(boundsOnce, [&] {
        keptBounds = compute(count);
        keptBoundsFrames = count;
    });
    return count == keptBoundsFrames ? keptBounds : compute(count);
}

void CBitmap::paint(CDrawContext* context, const CRect& rect, const CPoint& srcOffset, Paint how,
                    uint8_t alpha) {
    platform::Surface* s = context ? context->getSurface() : nullptr;
    CRect dest;
    CPoint from;
    if (!s || !frames || deviceFrameHeight <= 0 || !toDevice(*context, rect, srcOffset, dest, from)) return;
    // The source rectangle in the strip's device pixels, cut at frame edges; a frame's undrawn margin
    // (all zero, premultiplied) would change nothing, so it is neither kept nor drawn.
    const CRect wanted(from.h, from.v, from.h + dest.width(), from.v + dest.height());
    if (wanted.isEmpty()) return;
    const int32_t firstFrame = std::max<CCoord>(0, floorDivide(wanted.top, deviceFrameHeight));
    const int32_t lastFrame =
        std::min<CCoord>(frameCount - 1, floorDivide(wanted.bottom - 1, deviceFrameHeight));
    for (int32_t k = firstFrame; k <= lastFrame; ++k) {
        const Frame& f = frame(k);
        if (!f.image) continue;
        // A bitmap loaded through one backend cannot be drawn into another's surface.
        if (&s->owner != &f.image->owner) return;
        const CCoord frameTop = k * deviceFrameHeight;
        CRect piece(f.area.left, frameTop + f.area.top, f.area.right, frameTop + f.area.bottom);
        piece.bound(wanted);
        if (piece.isEmpty()) continue;
        const CRect to(dest.left + piece.left - wanted.left, dest.top + piece.top - wanted.top,
                       dest.left + piece.right - wanted.left, dest.top + piece.bottom - wanted.top);
        const CPoint at(piece.left - f.area.left, piece.top - frameTop - f.area.top);
        switch (how) {
        case Paint::Copy:
            s->copyImage(*f.image, to, at);
            break;
        case Paint::Key:
            s->keyImage(*f.image, to, at, transparentCColor);
            break;
        case Paint::Blend:
            s->blendImage(*f.image, to, at, alpha, !opaque);
            break;
        }
    }
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& srcOffset) {
    if (!opaque) {
        drawAlphaBlend(context, rect, srcOffset, 255);
        return;
    }
    paint(context, rect, srcOffset, Paint::Copy, 255);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& srcOffset) {
    if (!opaque) {
        draw(context, rect, srcOffset);
        return;
    }
    paint(context, rect, srcOffset, Paint::Key, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& srcOffset,
                             uint8_t alpha) {
    paint(context, rect, srcOffset, Paint::Blend, alpha);
}

} // namespace VSTGUI
