// The editor build on Linux: the effect and its editor, which opens in the X11 window a host passes to
// effEditOpen. A host that first asks for the memory-backend embedding (the vr58 tool, the tests) gets the
// editor in a window of that backend instead, and passes a pointer to one. Each editor's frame keeps the
// backend it opened with, so instances of either kind may be open at once, on any threads.
#include "vst2/QuorvaneTapedeckGUI.h"
#include "vst2/soft_host_protocol.h"
#include "effect/QuorvaneTapedeck.h"
#include "shell/plugin_entry.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"
#include "vstgui/platform/x11/x11_backend.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

using namespace VSTGUI;

class LinuxTapedeck final : public QuorvaneTapedeck {
public:
    explicit LinuxTapedeck(audioMasterCallback audioMaster)
        : QuorvaneTapedeck(audioMaster, vr58::kEditorBuild) {}
    ~LinuxTapedeck() override {
        if (editor) editor->close();
    }

    // Host threads, as the base's dispatcher.
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override {
        switch (opcode) {
        case effEditOpen:
            if (!editor) return 0;
            return embedded ? openIn(static_cast<const vr58::softhost::Window*>(ptr)) : openInX11(ptr);
        case effEditClose:
            if (editor) editor->close();
            hostWindow.reset();
            return 0;
        case effEditGetRect:
            // A host asks before it opens: the size then follows the X display's resolution.
            if (editor && !embedded && !editor->isOpen()) {
                const platform::BackendScope scope(x11::x11Backend());
                return QuorvaneTapedeck::dispatcher(opcode, index, value, ptr, opt);
            }
            return QuorvaneTapedeck::dispatcher(opcode, index, value, ptr, opt);
        default:
            return QuorvaneTapedeck::dispatcher(opcode, index, value, ptr, opt);
        }
    }

    intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) override {
        if (index != vr58::softhost::kVendorIndex)
            return QuorvaneTapedeck::vendorSpecific(index, value, ptr, opt);
        switch (value) {
        case vr58::softhost::kEnable:
            if (!editor) return 0;
            embedded = true;
            return 1;
        case vr58::softhost::kPaint:
            return window() && window()->paint(window()->screen().bounds()) ? 1 : 0;
        case vr58::softhost::kReadPixels:
            return ptr && window() && readPixels(*static_cast<vr58::softhost::Pixels*>(ptr)) ? 1 : 0;
        case vr58::softhost::kSetScale:
            return ptr && editor &&
                           static_cast<AEffGUIEditor*>(editor)->setNextOpeningScale(
                               *static_cast<const int32_t*>(ptr))
                       ? 1
                       : 0;
        case vr58::softhost::kSetPointer: {
            if (!ptr || !hostWindow) return 0;
            const auto* at = static_cast<const vr58::softhost::Point*>(ptr);
            soft::softBackend().setPointer(
                CPoint(hostWindow->screenOrigin.h + at->x, hostWindow->screenOrigin.v + at->y));
            return 1;
        }
        case vr58::softhost::kRightClick: {
            if (!ptr || !window()) return 0;
            const auto* at = static_cast<const vr58::softhost::Point*>(ptr);
            soft::softBackend().setPointer(
                CPoint(hostWindow->screenOrigin.h + at->x, hostWindow->screenOrigin.v + at->y));
            platform::InputState right;
            right.right = true;
            soft::softBackend().setInput(right);
            window()->press(CPoint(at->x, at->y));
            soft::softBackend().setInput(platform::InputState());
            return 1;
        }
        case vr58::softhost::kSetClock:
            if (!ptr) return 0;
            soft::softBackend().setTicks(*static_cast<const uint32_t*>(ptr));
            return 1;
        default: // the effect's own requests share the index
            return QuorvaneTapedeck::vendorSpecific(index, value, ptr, opt);
        }
    }

private:
    // ptr is the host's X11 window id. Nothing opens when no display is reachable or the id names no
    // window there.
    intptr_t openInX11(void* parent) {
        auto* gui = static_cast<QuorvaneTapedeckGUI*>(editor);
        if (!gui->openIn(parent, x11::x11Backend())) return 0;
        if (!gui->getFrame() || !gui->getFrame()->getWindowHandle()) {
            gui->close();
            return 0;
        }
        return 1;
    }

    intptr_t openIn(const vr58::softhost::Window* parent) {
        if (!parent) return 0;
        editor->close();
        ERect* size = nullptr;
        editor->getRect(&size);
        hostWindow = std::make_unique<soft::HostWindow>();
        hostWindow->screenOrigin = CPoint(parent->screenX, parent->screenY);
        hostWindow->width = size->right - size->left;
        hostWindow->height = size->bottom - size->top;
        auto* gui = static_cast<QuorvaneTapedeckGUI*>(editor);
        return gui->openIn(hostWindow.get(), soft::softBackend()) ? 1 : 0;
    }

    soft::HeadlessWindow* window() const { return hostWindow ? hostWindow->child : nullptr; }

    bool readPixels(vr58::softhost::Pixels& out) const {
        if (!out.data || out.width <= 0 || out.height <= 0) return false;
        const soft::Pixels& screen = window()->screen();
        const int32_t width = std::min(out.width, screen.width);
        const int32_t height = std::min(out.height, screen.height);
        for (int32_t y = 0; y < height; ++y)
            std::copy_n(&screen.data[static_cast<size_t>(y) * screen.width], width,
                        &out.data[static_cast<size_t>(y) * out.width]);
        return true;
    }

    bool embedded = false;
    std::unique_ptr<soft::HostWindow> hostWindow;
};

} // namespace

AudioEffect* vr58::createPluginEffect(audioMasterCallback audioMaster) {
    auto* effect = new (std::nothrow) LinuxTapedeck(audioMaster);
    if (!effect) return nullptr;
    // The editor registers itself with the effect, which owns it from then on.
    new (std::nothrow) QuorvaneTapedeckGUI(effect, effect->meterFeed());
    return effect;
}
