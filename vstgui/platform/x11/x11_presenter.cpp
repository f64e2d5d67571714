#include "vstgui/platform/x11/x11_presenter.h"

#include "vstgui/platform/x11/x11_error_trap.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

namespace VSTGUI::x11 {

namespace {

int lowestBit(unsigned long mask) {
    return mask ? __builtin_ctzl(mask) : 0;
}

int bitCount(unsigned long mask) {
    return __builtin_popcountl(mask);
}

// An 8-bit channel scaled into the bits of a visual's mask.
unsigned long channel(uint32_t value8, unsigned long mask) {
    const int bits = bitCount(mask);
    if (bits == 0) return 0;
    const unsigned long scaled = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
    return (scaled << lowestBit(mask)) & mask;
}

} // namespace

unsigned long visualPixel(const Visual* visual, uint32_t argb) {
    return channel((argb >> 16) & 0xFF, visual->red_mask) | channel((argb >> 8) & 0xFF, visual->green_mask) |
           channel(argb & 0xFF, visual->blue_mask);
}

Presenter::Presenter(Display* display, ::Window target, Visual* visual, int depth, CCoord width,
                     CCoord height)
    : display(display), target(target), visual(visual), depth(depth), width(width), height(height) {
    if (width <= 0 || height <= 0) return;
    gc = XCreateGC(display, target, 0, nullptr);
    if (!createShared()) createPlain();
    if (!image) return;
    sameLayout = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                 visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF;
}

Presenter::~Presenter() {
    destroy();
    if (gc) XFreeGC(display, gc);
}

bool Presenter::createShared() {
    // Shared memory works only with a server on this machine; a remote one refuses the attachment.
    if (!XShmQueryExtension(display)) return false;
    image = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &segment, width, height);
    if (!image) return false;
    segment.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (segment.shmid < 0) {
        XDestroyImage(image);
        image = nullptr;
        return false;
    }
    segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    segment.readOnly = False;
    bool attached = false;
    if (segment.shmaddr != reinterpret_cast<char*>(-1)) {
        ErrorTrap trap(display);
        attached = XShmAttach(display, &segment) && trap.sync();
    }
    // Marked for removal now, so the segment goes with the last detachment whatever happens to us.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        if (segment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        image = nullptr;
        return false;
    }
    shared = true;
    return true;
}

void Presenter::createPlain() {
    const int pad = 32;
    image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, width, height, pad, 0);
    if (!image) return;
    // XDestroyImage frees the data with free().
    image->data = static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line), height));
    if (!image->data) {
        XDestroyImage(image);
        image = nullptr;
    }
}

void Presenter::destroy() {
    if (!image) return;
    if (shared) {
        ErrorTrap trap(display);
        XShmDetach(display, &segment);
        trap.sync();
        shmdt(segment.shmaddr);
        image->data = nullptr;
    }
    XDestroyImage(image);
    image = nullptr;
    shared = false;
}

void Presenter::convert(const soft::Pixels& pixels, const CRect& area) {
    for (CCoord y = area.top; y < area.bottom; ++y) {
        const uint32_t* in = &pixels.data[static_cast<size_t>(y) * pixels.width + area.left];
        if (sameLayout) {
            // Depth-32 visuals read the top byte as alpha: the screen is opaque.
            auto* out =
                reinterpret_cast<uint32_t*>(image->data + static_cast<size_t>(y) * image->bytes_per_line) +
                area.left;
            for (CCoord i = 0; i < area.width(); ++i) out[i] = in[i] | 0xFF000000u;
            continue;
        }
        for (CCoord i = 0; i < area.width(); ++i)
            XPutPixel(image, area.left + i, y, visualPixel(visual, in[i]));
    }
}

void Presenter::put(const soft::Pixels& pixels, const CRect& area) {
    if (!image || pixels.width != width || pixels.height != height) return;
    CRect r(area);
    r.bound(CRect(0, 0, width, height));
    if (r.isEmpty()) return;
    convert(pixels, r);
    if (shared)
        XShmPutImage(display, target, gc, image, r.left, r.top, r.left, r.top, r.width(), r.height(), False);
    else
        XPutImage(display, target, gc, image, r.left, r.top, r.left, r.top, r.width(), r.height());
}

} // namespace VSTGUI::x11
