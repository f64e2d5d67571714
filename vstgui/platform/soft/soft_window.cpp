#include "vstgui/platform/soft/soft_window.h"

namespace VSTGUI::soft {

namespace {
// What the window shows before the frame first paints: the class's button-face background.
constexpr uint32_t kButtonFace = 0xFFF0F0F0u;
} // namespace

void HostWindow::destroy() {
    if (child) child->destroyedBySystem();
    child = nullptr;
}

HeadlessWindow::HeadlessWindow(platform::WindowEvents& e, HostWindow& h, CCoord width, CCoord height)
    : events(&e), host(&h), pixels(width, height, kButtonFace) {
    host->child = this;
    ++host->childWindowsCreated;
}

HeadlessWindow::~HeadlessWindow() {
    if (host && host->child == this) host->child = nullptr;
}

void HeadlessWindow::destroyedBySystem() {
    if (!alive) return;
    platform::WindowEvents* e = events;
    events = nullptr;
    if (e) e->windowDestroyed();
    host = nullptr;
    alive = false;
}

void HeadlessWindow::markDestroyed() {
    alive = false;
    events = nullptr;
}

void HeadlessWindow::resize(CCoord width, CCoord height) {
    if (width == pixels.width && height == pixels.height) return;
    pixels = Pixels(width, height, kButtonFace);
}

void HeadlessWindow::resizeWithParents(CCoord width, CCoord height) {
    resize(width, height);
    if (host) {
        host->width = width;
        host->height = height;
    }
}

bool HeadlessWindow::getPosition(CCoord& x, CCoord& y) {
    if (!host) return false;
    x = host->screenOrigin.h;
    y = host->screenOrigin.v;
    return true;
}

bool HeadlessWindow::getSize(CRect& rect) {
    if (!host) return false;
    rect = CRect(host->screenOrigin.h, host->screenOrigin.v, host->screenOrigin.h + host->width,
                 host->screenOrigin.v + host->height);
    return true;
}

bool HeadlessWindow::paint(const CRect& region) {
    CRect r(region);
    r.bound(pixels.bounds());
    if (!events || !alive || r.isEmpty()) {
        ++defaultCount;
        return false;
    }
    events->windowPaint(&pixels, r);
    return true;
}

void HeadlessWindow::press(const CPoint& where) {
    if (events && alive) events->windowButtonDown(where);
}

bool HeadlessWindow::wheel(const CPoint& screenPosition, int16_t delta) {
    if (!events || !alive) return false;
    const CPoint origin = screenOrigin();
    const CPoint client(screenPosition.h - origin.h, screenPosition.v - origin.v);
    return events->windowWheel(client, static_cast<float>(delta) / 120.0f);
}

} // namespace VSTGUI::soft
