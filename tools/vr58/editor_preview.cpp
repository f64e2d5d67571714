#include "editor_preview.h"

#include "editor/editor_layout.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/soft/soft_window.h"

namespace vr58::tool {

namespace {

using namespace VSTGUI;

// One frame of a filmstrip, as the editor's controls and meters draw themselves.
class FilmstripFrame : public CView {
public:
    FilmstripFrame(const CRect& size, CBitmap* strip, CCoord frameTop) : CView(size), frameTop_(frameTop) {
        setBackground(strip);
    }
    void draw(CDrawContext* context) override {
        if (background) background->draw(context, size, CPoint(0, frameTop_));
        setDirty(false);
    }

private:
    CCoord frameTop_;
};

int32_t frameFor(const EditorViewLayout& view, const std::vector<float>& values) {
    switch (view.kind) {
    case EditorViewKind::Knob:
        return knobFrame(values[view.tag], view.frames, view.frameHeight);
    case EditorViewKind::Switch:
        return switchFrame(values[view.tag], view.frames);
    default:
        return 0; // needle at rest, lamp unlit
    }
}

} // namespace

bool writeEditorPreview(const std::vector<float>& values, const std::string& pngPath) {
    CBitmap* background = new CBitmap(kSkinBackgroundId);
    const CCoord width = background->getWidth();
    const CCoord height = background->getHeight();
    soft::HostWindow host;
    bool written = false;
    {
        CFrame frame(CRect(0, 0, width, height), &host, nullptr);
        frame.setBackground(background);
        for (const EditorViewLayout& view : kEditorLayout) {
            CBitmap* strip = new CBitmap(view.bitmapId);
            const CCoord frameTop = frameFor(view, values) * view.frameHeight;
            frame.addView(
                new FilmstripFrame(CRect(view.left, view.top, view.right, view.bottom), strip, frameTop));
            strip->release();
        }
        if (host.child && host.child->paint(CRect(0, 0, width, height)))
            written = soft::writePng(pngPath.c_str(), host.child->screen());
    }
    background->release();
    return written;
}

} // namespace vr58::tool
