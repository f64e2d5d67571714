// The skin scene rendered natively through the headless window, written for inspection next to the
// Wine render of the same frame.
#include "frame_scene.h"
#include "soft_fixture.h"

#include "vstgui/platform/soft/soft_window.h"

#include <string>

using namespace VSTGUI;

namespace {

class FrameSceneTest : public vr58test::SoftTest {};

TEST_F(FrameSceneTest, PaintShowsTheSkinWithItsViews) {
    soft::HostWindow host;
    CFrame frame(CRect(0, 0, vr58test::kSceneWidth, vr58test::kSceneHeight), &host, nullptr);
    vr58test::populateScene(frame);
    ASSERT_EQ(frame.getBackground()->getWidth(), 520) << "skin background 101 is not embedded";
    ASSERT_TRUE(host.child->paint(CRect(0, 0, vr58test::kSceneWidth, vr58test::kSceneHeight)));
    const soft::Pixels& screen = host.child->screen();

    // Where no view lies, the window shows the background image itself.
    CBitmap background(101);
    const auto& image = static_cast<const soft::SoftImage&>(*background.getImage());
    for (CPoint p : {CPoint(1, 1), CPoint(260, 300), CPoint(519, 439)})
        EXPECT_EQ(screen.at(p.h, p.v), image.pixel(p.h, p.v)) << p.h << "," << p.v;
    // The lit LED changes its square.
    int changed = 0;
    for (CCoord y = 71; y < 99; ++y)
        for (CCoord x = 328; x < 356; ++x) changed += screen.at(x, y) != image.pixel(x, y);
    EXPECT_GT(changed, 50);

    const std::string out = std::string(VR58_TEST_OUTPUT_DIR) + "/frame-soft.png";
    EXPECT_TRUE(soft::writePng(out.c_str(), screen));
}

} // namespace
