// The face against an edit controller of the test's own: what a user's edits ask of a plug-in format, and
// what a host's change does, with no format behind the face.
#include "editor/edit_controller.h"
#include "editor/tapedeck_face.h"
#include "editor_host.h"

#include "tape/meter_feed.h"
#include "vstgui/ccontrol.h"
#include "vstgui/cframe.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

using namespace VSTGUI;
using namespace vr58::testing;

namespace {

// Records every call as "begin0", "perform0", "end0"; stores values clamped, as a format does.
class RecordingController final : public vr58::EditController {
public:
    RecordingController() {
        for (int32_t i = 0; i < vr58::kEditorParameterCount; ++i)
            values[i] = vr58::kEditorParameters[i].defaultValue;
    }
    void beginEdit(int32_t index) override { calls.push_back("begin" + std::to_string(index)); }
    void performEdit(int32_t index, float value) override {
        calls.push_back("perform" + std::to_string(index));
        values[index] = std::clamp(value, 0.0f, 1.0f);
        if (duringPerform) duringPerform();
    }
    void endEdit(int32_t index) override { calls.push_back("end" + std::to_string(index)); }
    float parameterValue(int32_t index) override { return values[index]; }
    vr58::MeterFeed& meterFeed() override { return feed; }
    bool canResizeWindow() override { return resizes; }
    bool resizeWindow(int32_t, int32_t) override { return resizes; }

    std::vector<std::string> calls;
    std::function<void()> duringPerform; // a host calling back into the face
    bool resizes = false;
    float values[vr58::kEditorParameterCount];
    vr58::MeterFeed feed;
};

enum class Edit { Drag, Wheel, Key };

class FaceEdits : public EditorTest, public ::testing::WithParamInterface<Edit> {
protected:
    RecordingController controller;
    vr58::TapedeckFace face{controller};
};

TEST_P(FaceEdits, AnEditIsOneBeginThenPerformsThenOneEnd) {
    ASSERT_TRUE(face.open(&window, &soft()));
    CControl* knob = face.control(vr58::kTrim);
    const CRect& box = knob->getViewSize();
    const CPoint centre((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    const CPoint onScreen(100 + centre.h, 50 + centre.v);
    switch (GetParam()) {
    case Edit::Drag: {
        std::deque<soft::PointerStep> steps;
        for (int turn = 1; turn <= 6; ++turn)
            steps.push_back({CPoint(centre.h, centre.v - 2 * turn), {true}});
        steps.push_back({CPoint(centre.h, centre.v - 12), {}});
        soft().script(steps);
        window.child->press(centre);
        break;
    }
    case Edit::Wheel:
        soft().setPointer(onScreen);
        window.child->wheel(onScreen, 120);
        break;
    case Edit::Key: {
        face.getFrame()->setFocusView(knob);
        VSTGUI::VstKeyCode up{0, VKEY_UP, 0};
        EXPECT_TRUE(face.onKeyDown(up));
        break;
    }
    }
    ASSERT_GE(controller.calls.size(), 3u);
    EXPECT_EQ(controller.calls.front(), "begin0");
    EXPECT_EQ(controller.calls.back(), "end0");
    for (size_t i = 1; i + 1 < controller.calls.size(); ++i) EXPECT_EQ(controller.calls[i], "perform0") << i;
    EXPECT_NE(controller.values[vr58::kTrim], 0.5f);
    // The gesture has had its end: closing owes the controller nothing more.
    const size_t before = controller.calls.size();
    face.close();
    EXPECT_EQ(controller.calls.size(), before);
}

INSTANTIATE_TEST_SUITE_P(Gestures, FaceEdits, ::testing::Values(Edit::Drag, Edit::Wheel, Edit::Key));

TEST_F(FaceEdits, AHostChangeReachesTheControlsAtIdleAndIsNeverSentBack) {
    ASSERT_TRUE(face.open(&window, &soft()));
    controller.values[vr58::kTrim] = 0.25f;
    controller.values[vr58::kEditorBuild.vuPathIndex] = 0.0f;
    face.hostChanged(vr58::kTrim);
    face.hostChanged(vr58::kEditorBuild.vuPathIndex);
    EXPECT_EQ(face.control(vr58::kTrim)->getValue(), 0.5f)
        << "views change on the user-interface thread only";
    face.idle();
    EXPECT_EQ(face.control(vr58::kTrim)->getValue(), 0.25f);
    EXPECT_EQ(face.control(vr58::kEditorBuild.vuPathIndex)->getValue(), 0.0f);
    face.idle();
    EXPECT_TRUE(controller.calls.empty());
}

// A face that keeps its window takes a new size only outside an event: a host idling it from inside an
// edit never has the views replaced under the control being edited.
TEST_F(FaceEdits, ANewSizeWaitsUntilTheEditInWhichTheHostIdlesTheFaceIsOver) {
    controller.resizes = true;
    face.setKeepsWindow(true);
    ASSERT_TRUE(face.open(&window, &soft()));
    CFrame* frame = face.getFrame();
    face.setHostScaleFactor(2.0f);
    int32_t scaleInside = 0;
    controller.duringPerform = [&] {
        face.idle();
        scaleInside = face.getScale();
    };
    const CRect& box = face.control(vr58::kTrim)->getViewSize();
    const CPoint onScreen(100 + (box.left + box.right) / 2, 50 + (box.top + box.bottom) / 2);
    soft().setPointer(onScreen);
    window.child->wheel(onScreen, 120);
    EXPECT_EQ(scaleInside, 100);
    controller.duringPerform = nullptr;
    face.idle();
    EXPECT_EQ(face.getScale(), 200);
    EXPECT_EQ(face.getFrame(), frame);
    EXPECT_EQ(face.control(vr58::kTrim)->getValue(), controller.values[vr58::kTrim]);
}

} // namespace
