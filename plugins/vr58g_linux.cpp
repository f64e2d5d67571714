// The editor build on Linux: the effect and its editor, which opens in the X11 window a host passes to
// effEditOpen. A host that first asks for the memory-backend embedding (the vr58 tool, the tests) gets the
// editor in a window of that backend instead, and passes a pointer to one. The toolkit's embedding picks
// the backend; each editor's frame keeps the one it opened with, so instances of either kind may be open
// at once, on any threads.
#include "vst2/QuorvaneTapedeckGUI.h"
#include "vst2/soft_host_protocol.h"
#include "vst2/QuorvaneTapedeck.h"
#include "vst2/plugin_entry.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/embedding.h"

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
            return editor && open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor) editor->close();
            windows.closed();
            return 0;
        case effEditGetRect:
            // A host asks before it opens: the size then follows the resolution of the windows' screen.
            if (editor && !editor->isOpen()) {
                const platform::BackendScope scope(windows.backend());
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
            windows.useMemoryWindows();
            return 1;
        case vr58::softhost::kPaint:
            return windows.paint() ? 1 : 0;
        case vr58::softhost::kReadPixels: {
            auto* pixels = static_cast<vr58::softhost::Pixels*>(ptr);
            return pixels && windows.readPixels(pixels->data, pixels->width, pixels->height) ? 1 : 0;
        }
        case vr58::softhost::kSetScale:
            return ptr && editor &&
                           static_cast<AEffGUIEditor*>(editor)->setNextOpeningScale(
                               *static_cast<const int32_t*>(ptr))
                       ? 1
                       : 0;
        case vr58::softhost::kSetPointer: {
            const auto* at = static_cast<const vr58::softhost::Point*>(ptr);
            return at && windows.setPointer(CPoint(at->x, at->y)) ? 1 : 0;
        }
        case vr58::softhost::kRightClick: {
            const auto* at = static_cast<const vr58::softhost::Point*>(ptr);
            return at && windows.rightClick(CPoint(at->x, at->y)) ? 1 : 0;
        }
        case vr58::softhost::kSetClock:
            if (!ptr) return 0;
            platform::Embedding::setClock(*static_cast<const uint32_t*>(ptr));
            return 1;
        default: // the effect's own requests share the index
            return QuorvaneTapedeck::vendorSpecific(index, value, ptr, opt);
        }
    }

private:
    // ptr is the host's X11 window id, or with the memory embedding a softhost::Window. Nothing opens
    // when no display is reachable or the id names no window there.
    bool open(void* ptr) {
        auto* gui = static_cast<QuorvaneTapedeckGUI*>(editor);
        void* parent = windows.systemParent(ptr);
        if (windows.usesMemoryWindows()) {
            const auto* host = static_cast<const vr58::softhost::Window*>(ptr);
            if (!host) return false;
            editor->close();
            ERect* size = nullptr;
            editor->getRect(&size);
            parent = windows.memoryParent(CPoint(host->screenX, host->screenY), size->right - size->left,
                                          size->bottom - size->top);
        }
        if (!gui->openIn(parent, windows.backend())) return false;
        if (!gui->getFrame() || !gui->getFrame()->getWindowHandle()) {
            gui->close();
            return false;
        }
        return true;
    }

    platform::Embedding windows;
};

} // namespace

AudioEffect* vr58::createPluginEffect(audioMasterCallback audioMaster) {
    auto* effect = new (std::nothrow) LinuxTapedeck(audioMaster);
    if (!effect) return nullptr;
    // The editor registers itself with the effect, which owns it from then on.
    new (std::nothrow) QuorvaneTapedeckGUI(effect, effect->meterFeed());
    return effect;
}
