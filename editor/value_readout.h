// The read-out: a small label beside a control with its parameter's name and value in its unit ("Trim
// +3.5 dB"). It shows while the user moves the control (drag, wheel, keys) and after the pointer rests on
// the control for half a second, follows the value, and goes a second after the gesture ends or the
// pointer leaves. It only draws: no clicks, wheel turns or focus reach it, and it calls nobody, so a host
// sees nothing of it. Its timing runs on the toolkit's clock, passed in at every idle.
#pragma once

#include "vstgui/cview.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace VSTGUI {
class CControl;
class CGlyphFont;
} // namespace VSTGUI

class ValueReadout : public VSTGUI::CView {
public:
    static constexpr uint32_t kHoverDelay = 500; // ms the pointer rests on a control before it shows
    static constexpr uint32_t kLinger = 1000;    // ms it stays after the gesture ends or the pointer leaves

    // The label's text for a control: its parameter's name and value in its unit, in UTF-8 (ASCII and the
    // minus sign, what the glyph font has).
    using TextFunction = std::function<std::string(const VSTGUI::CControl& control)>;

    // face: the area the label stays inside; font: one reference is taken.
    ValueReadout(const VSTGUI::CRect& face, VSTGUI::CGlyphFont* font, TextFunction text);
    ~ValueReadout() override;
    ValueReadout(const ValueReadout&) = delete;
    ValueReadout& operator=(const ValueReadout&) = delete;

    // An area the label should not hide when any other place is free (the meters).
    void avoid(const VSTGUI::CRect& area) { avoided.push_back(area); }

    // The user's edits, on the user-interface thread: a gesture keeps the label until it ends.
    void gestureBegan(VSTGUI::CControl* control, uint32_t now);
    void valueEdited(VSTGUI::CControl* control, uint32_t now);
    void gestureEnded(VSTGUI::CControl* control, uint32_t now);
    // Every idle pass, before the frame draws: the control under the pointer (null for none) and the
    // clock. Starts and ends the hover, takes the label away when its time is up, and follows values
    // changed by anyone (the host included) while it shows.
    void idle(VSTGUI::CControl* hovered, uint32_t now);
    // Takes the label away at the next pass (a menu opened over the face).
    void hide();
    // A line of its own (a preset's name) at the top of the face for kLinger, until a control shows.
    void showMessage(const std::string& message, uint32_t now);

    bool isShowing() const { return target != nullptr || message; }
    VSTGUI::CControl* getTarget() const { return target; }
    const std::string& getText() const { return text; }
    // Where the label is drawn; empty while it is hidden.
    VSTGUI::CRect getBox() const { return isShowing() ? box : VSTGUI::CRect(); }

    void draw(VSTGUI::CDrawContext* context) override;
    bool isTypeOf(const char* name) const override;

private:
    void show(VSTGUI::CControl* control, uint32_t now);
    void refresh();
    VSTGUI::CRect place(const VSTGUI::CRect& control, VSTGUI::CCoord width, VSTGUI::CCoord height) const;
    // Marks what the next pass must draw: the new box and the old one when they meet; otherwise the
    // old one alone, and the new one a pass later. Only the label's own area is ever marked.
    void moveTo(const VSTGUI::CRect& newBox);

    VSTGUI::CRect face;
    VSTGUI::CGlyphFont* font;
    TextFunction textOf;
    std::vector<VSTGUI::CRect> avoided;

    VSTGUI::CControl* target = nullptr;
    std::string text;
    VSTGUI::CRect box;      // where the label belongs now
    VSTGUI::CRect onScreen; // where drawing puts it until the next idle, empty for nowhere
    std::string drawnText;  // the text drawn there
    bool gestureOpen = false;
    bool message = false;
    uint32_t hideAt = 0;
    VSTGUI::CControl* hoverCandidate = nullptr;
    uint32_t hoverSince = 0;
    bool hoverShown = false; // once per rest, so a rest does not bring back a label that went
};
