// Small views and listeners that record what the toolkit does to them.
#pragma once

#include "vstgui/ccontrol.h"
#include "vstgui/ccontrollistener.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/iframeeditor.h"

#include <string>
#include <vector>

namespace vr58test {

// Shared log of events, so tests can assert the order across several views.
using EventLog = std::vector<std::string>;

// A control that fills its rectangle in one colour, records its events and answers keys as told.
class ProbeControl : public VSTGUI::CControl {
public:
    ProbeControl(const VSTGUI::CRect& size, EventLog* log = nullptr, std::string name = "",
                 VSTGUI::CControlListener* listener = nullptr, VSTGUI::CColor colour = VSTGUI::kWhiteCColor)
        : CControl(size, listener, 0), log(log), name(std::move(name)), colour(colour) {}

    void draw(VSTGUI::CDrawContext* context) override {
        ++draws;
        if (context) {
            context->setFillColor(colour);
            // fillRect spares the top row and left column; start one pixel out to paint the whole view.
            context->fillRect(VSTGUI::CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        }
        setDirty(false);
    }
    void mouse(VSTGUI::CDrawContext*, VSTGUI::CPoint& where, int32_t buttons) override {
        lastWhere = where;
        lastButtons = buttons;
        record("mouse");
    }
    int32_t onKeyDown(VSTGUI::VstKeyCode&) override {
        record("keyDown");
        return keyAnswer;
    }
    int32_t onKeyUp(VSTGUI::VstKeyCode&) override {
        record("keyUp");
        return keyAnswer;
    }
    bool onWheel(VSTGUI::CDrawContext*, const VSTGUI::CPoint& where, float distance) override {
        lastWhere = where;
        lastDistance = distance;
        record("wheel");
        return true;
    }
    void looseFocus(VSTGUI::CDrawContext*) override { record("looseFocus"); }
    ~ProbeControl() override {
        if (destroyed) ++*destroyed;
    }

    void record(const std::string& what) {
        if (log) log->push_back(name + ":" + what);
    }

    EventLog* log;
    std::string name;
    VSTGUI::CColor colour;
    int draws = 0;
    int32_t keyAnswer = VSTGUI::kKeyNotHandled;
    int32_t lastButtons = 0;
    float lastDistance = 0;
    VSTGUI::CPoint lastWhere;
    int* destroyed = nullptr;
};

class CountingListener : public VSTGUI::CControlListener {
public:
    void valueChanged(VSTGUI::CDrawContext*, VSTGUI::CControl* control) override {
        ++changes;
        lastValue = control->getValue();
    }
    int changes = 0;
    float lastValue = -99;
};

class RecordingEditor : public VSTGUI::IFrameEditor {
public:
    void beginEdit(int32_t index) override { log.push_back("begin" + std::to_string(index)); }
    void endEdit(int32_t index) override { log.push_back("end" + std::to_string(index)); }
    void doIdleStuff() override { log.push_back("idle"); }
    int32_t getKnobMode() const override { return knobMode; }
    std::vector<std::string> log;
    int32_t knobMode = 2;
};

inline VSTGUI::VstKeyCode key(unsigned char virt, unsigned char modifier = 0) {
    VSTGUI::VstKeyCode k{};
    k.virt = virt;
    k.modifier = modifier;
    return k;
}

} // namespace vr58test
