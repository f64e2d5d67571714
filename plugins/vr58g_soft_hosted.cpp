// The editor build on systems whose window backend does not exist yet: the effect and its editor, which
// only a host asking for the memory-backend embedding gets to see and open (the vr58 tool, the tests).
#include "editor/QuorvaneTapedeckGUI.h"
#include "editor/soft_host_protocol.h"
#include "shell/plugin_entry.h"
#include "tape/QuorvaneTapedeck.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

using namespace VSTGUI;

class SoftHostedTapedeck final : public QuorvaneTapedeck {
public:
    explicit SoftHostedTapedeck(audioMasterCallback audioMaster)
        : QuorvaneTapedeck(audioMaster, vr58::kEditorBuild) {}
    ~SoftHostedTapedeck() override {
        if (editor) editor->close();
    }

    // Called once the editor has registered: until a host asks for the embedding, there is none.
    void hideEditor() { cEffect.flags &= ~effFlagsHasEditor; }

    // Host threads, as the base's dispatcher.
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override {
        switch (opcode) {
        case effEditGetRect:
        case effEditIdle:
        case effEditKeyDown:
        case effEditKeyUp:
        case effSetEditKnobMode:
            return embedded ? QuorvaneTapedeck::dispatcher(opcode, index, value, ptr, opt) : 0;
        case effEditOpen:
            return embedded && editor ? openIn(static_cast<const vr58::softhost::Window*>(ptr)) : 0;
        case effEditClose:
            if (editor) editor->close();
            hostWindow.reset();
            return 0;
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
            cEffect.flags |= effFlagsHasEditor;
            return 1;
        case vr58::softhost::kPaint:
            return window() && window()->paint(window()->screen().bounds()) ? 1 : 0;
        case vr58::softhost::kReadPixels:
            return ptr && window() && readPixels(*static_cast<vr58::softhost::Pixels*>(ptr)) ? 1 : 0;
        case vr58::softhost::kSetClock:
            if (!ptr) return 0;
            soft::softBackend().setTicks(*static_cast<const uint32_t*>(ptr));
            return 1;
        default:
            return 0;
        }
    }

private:
    intptr_t openIn(const vr58::softhost::Window* parent) {
        if (!parent) return 0;
        editor->close();
        ERect* size = nullptr;
        editor->getRect(&size);
        hostWindow = std::make_unique<soft::HostWindow>();
        hostWindow->screenOrigin = CPoint(parent->screenX, parent->screenY);
        hostWindow->width = size->right - size->left;
        hostWindow->height = size->bottom - size->top;
        return editor->open(hostWindow.get()) ? 1 : 0;
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
    auto* effect = new (std::nothrow) SoftHostedTapedeck(audioMaster);
    if (!effect) return nullptr;
    // The editor registers itself with the effect, which owns it from then on.
    if (new (std::nothrow) QuorvaneTapedeckGUI(effect, effect->meterFeed())) effect->hideEditor();
    return effect;
}
