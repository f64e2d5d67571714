// A frame in a headless window with an editor that idles the frame from inside the controls' mouse loops,
// as the real editor does, and a listener that logs into the same event log; pointer steps are scripted
// in frame coordinates.
#pragma once

#include "soft_fixture.h"
#include "test_views.h"

#include "vstgui/cframe.h"
#include "vstgui/cscale.h"
#include "vstgui/platform/soft/soft_window.h"

#include <algorithm>
#include <deque>
#include <memory>

namespace vr58test {

class IdlingEditor : public RecordingEditor {
public:
    void doIdleStuff() override {
        RecordingEditor::doIdleStuff();
        if (frame) frame->idle();
    }
    VSTGUI::CFrame* frame = nullptr;
};

class LoggingListener : public VSTGUI::CControlListener {
public:
    explicit LoggingListener(std::vector<std::string>& log) : log(log) {}
    void valueChanged(VSTGUI::CDrawContext*, VSTGUI::CControl* control) override {
        log.push_back("changed");
        values.push_back(control->getValue());
    }
    std::vector<std::string>& log;
    std::vector<float> values;
};

inline VSTGUI::platform::InputState held(bool shift = false, bool control = false, bool alt = false) {
    VSTGUI::platform::InputState s;
    s.left = true;
    s.shift = shift;
    s.control = control;
    s.alt = alt;
    return s;
}

inline VSTGUI::platform::InputState released() {
    return VSTGUI::platform::InputState();
}

class ControlFixture : public SoftTest {
protected:
    static constexpr VSTGUI::CPoint kOrigin{300, 200};

    // scale: device pixels per 100 logical ones; pointer steps are then given in device pixels.
    explicit ControlFixture(int32_t scale = 100) {
        host.screenOrigin = kOrigin;
        host.width = VSTGUI::toDevice(200, scale);
        host.height = VSTGUI::toDevice(100, scale);
        frame =
            std::make_unique<VSTGUI::CFrame>(VSTGUI::CRect(0, 0, 200, 100), &host, &editor, nullptr, scale);
        editor.frame = frame.get();
    }

    template <typename Control> Control* add(Control* control) {
        control->setListener(&listener);
        frame->addView(control);
        return control;
    }
    // The first paint, after which idle passes redraw dirty views.
    void paint() { host.child->paint(VSTGUI::CRect(0, 0, host.width, host.height)); }

    // Presses at the first step's point and plays the others, one per read of the button state.
    void press(std::initializer_list<VSTGUI::soft::PointerStep> steps) {
        std::deque<VSTGUI::soft::PointerStep> script;
        for (VSTGUI::soft::PointerStep s : steps) {
            s.position.offset(kOrigin.h, kOrigin.v);
            script.push_back(s);
        }
        soft().script(script);
        host.child->press(steps.begin()->position);
    }
    long count(const std::string& what) const { return std::count(log().begin(), log().end(), what); }
    const std::vector<std::string>& log() const { return editor.log; }

    VSTGUI::soft::HostWindow host;
    IdlingEditor editor;
    std::unique_ptr<VSTGUI::CFrame> frame;
    LoggingListener listener{editor.log};
};

} // namespace vr58test
