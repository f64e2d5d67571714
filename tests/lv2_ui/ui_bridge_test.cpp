// The LV2 UI's edit controller between the face and an LV2 host, without a host: the face's edits as the
// host sees them, the host's port events as the face sees them.
#include <gtest/gtest.h>

#include "editor/factory_presets.h"
#include "editor/tapedeck_face.h"
#include "lv2/lv2_ports.h"
#include "lv2/ui/ui_controller.h"

#include <dlfcn.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using vr58::kEditorBuild;
using vr58::lv2::parameterPort;
using vr58::lv2::portValueOf;

constexpr int32_t kTrim = 0, kEqCurve = 2, kHead = 7, kVuHold = 11;

// What the host heard, in order: "touch4+", "write4", "touch4-", "resize1040x880".
struct RecordingHost {
    std::vector<std::string> calls;
    std::vector<float> written;
    LV2UI_Touch touch{this, [](LV2UI_Feature_Handle h, uint32_t port, bool grabbed) {
                          static_cast<RecordingHost*>(h)->calls.push_back("touch" + std::to_string(port) +
                                                                          (grabbed ? "+" : "-"));
                      }};
    int resizeAnswer = 0;
    LV2UI_Resize resize{this, [](LV2UI_Feature_Handle h, int width, int height) {
                            auto* self = static_cast<RecordingHost*>(h);
                            self->calls.push_back("resize" + std::to_string(width) + "x" +
                                                  std::to_string(height));
                            return self->resizeAnswer;
                        }};

    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer) {
        auto* self = static_cast<RecordingHost*>(controller);
        const float value = *static_cast<const float*>(buffer);
        self->calls.push_back("write" + std::to_string(port) +
                              (size == sizeof(float) && format == 0 ? "" : "?"));
        self->written.push_back(value);
    }
    vr58::lv2::UiHost offer(bool withTouch, bool withResize) {
        vr58::lv2::UiHost host;
        host.write = &RecordingHost::write;
        host.controller = this;
        host.touch = withTouch ? &touch : nullptr;
        host.resize = withResize ? &resize : nullptr;
        return host;
    }
};

int32_t portEvent(vr58::lv2::UiController& ui, uint32_t port, float value) {
    return ui.portEvent(port, sizeof value, 0, &value);
}

TEST(LV2UiBridge, AnEditIsOnePortWriteInTheUnitInsideTheHostsTouchGesture) {
    RecordingHost host;
    vr58::lv2::UiController ui(host.offer(true, false));
    // What a knob drag does through the face.
    ui.beginEdit(kTrim);
    ui.performEdit(kTrim, 0.75f);
    ui.performEdit(kTrim, 1.5f); // beyond the end: the host gets the clamped value
    ui.endEdit(kTrim);
    ui.performEdit(kEqCurve, 1.0f);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"touch4+", "write4", "write4", "touch4-", "write6"}));
    ASSERT_EQ(host.written.size(), 3u);
    EXPECT_EQ(host.written[0], 12.0f); // Trim's +-24 dB, three quarters up
    EXPECT_EQ(host.written[1], 24.0f);
    EXPECT_EQ(host.written[2], portValueOf(kEditorBuild, kEqCurve, 1.0f));
    EXPECT_NE(host.written[2], 1.0f) << "the curve's port holds its position, not the normalised value";
    EXPECT_EQ(ui.parameterValue(kTrim), 1.0f) << "the face shows what the host was sent";
}

TEST(LV2UiBridge, APresetAndItsUndoAreWrittenAsPortValuesInsideTouchAndTheirEchoesEndNothing) {
    RecordingHost host;
    vr58::lv2::UiController ui(host.offer(true, false));
    vr58::TapedeckFace face(ui);
    const vr58::FactoryPreset& preset = vr58::kFactoryPresets[3];
    ASSERT_TRUE(face.applyFactoryPreset(3));
    std::vector<std::string> expected;
    std::vector<float> written;
    for (int32_t i = 0; i < vr58::kEditorParameterCount; ++i) {
        if (preset.values[i] == vr58::kEditorParameters[i].defaultValue) continue;
        const std::string port = std::to_string(parameterPort(i));
        expected.insert(expected.end(), {"touch" + port + "+", "write" + port, "touch" + port + "-"});
        written.push_back(portValueOf(kEditorBuild, i, preset.values[i]));
    }
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.written, written);

    ASSERT_TRUE(face.undo());
    for (int32_t i = 0; i < vr58::kEditorParameterCount; ++i)
        EXPECT_EQ(ui.parameterValue(i), vr58::kEditorParameters[i].defaultValue) << i;
    // The host echoes what the undo wrote: no change of its own, so the redo stays.
    EXPECT_EQ(portEvent(ui, parameterPort(kTrim), portValueOf(kEditorBuild, kTrim, 0.5f)), -1);
    EXPECT_TRUE(face.redo());
    EXPECT_EQ(ui.parameterValue(kTrim), preset.values[kTrim]);
}

TEST(LV2UiBridge, WithoutTouchTheWritesStillGoAndNothingElseIsAsked) {
    RecordingHost host;
    vr58::lv2::UiController ui(host.offer(false, false));
    ui.beginEdit(kHead);
    ui.performEdit(kHead, 0.0f);
    ui.endEdit(kHead);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"write11"}));
    // Out-of-range indices reach no port.
    RecordingHost touching;
    vr58::lv2::UiController other(touching.offer(true, true));
    other.beginEdit(kEditorBuild.parameterCount);
    other.performEdit(-1, 0.5f);
    other.performEdit(kEditorBuild.parameterCount, 0.5f);
    other.endEdit(-1);
    EXPECT_TRUE(touching.calls.empty());
    EXPECT_EQ(host.calls.size(), 1u);
}

TEST(LV2UiBridge, TheEditorsWindowSizeGoesToTheHostsResizeWhereOffered) {
    RecordingHost host;
    vr58::lv2::UiController resizable(host.offer(false, true));
    EXPECT_TRUE(resizable.canResizeWindow());
    EXPECT_TRUE(resizable.resizeWindow(1040, 880));
    EXPECT_TRUE(host.calls.empty()) << "the host hears the size once the window has it";
    resizable.reportWindowSize(520, 440);
    resizable.reportWindowSize(520, 440);
    resizable.reportWindowSize(1040, 880);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"resize520x440", "resize1040x880"}));
    // A host that refuses a size is asked again at the next report.
    host.resizeAnswer = 1;
    resizable.reportWindowSize(520, 440);
    host.resizeAnswer = 0;
    resizable.reportWindowSize(520, 440);
    resizable.reportWindowSize(520, 440);
    EXPECT_EQ(host.calls.size(), 4u);

    RecordingHost fixed;
    vr58::lv2::UiController ui(fixed.offer(true, false));
    EXPECT_FALSE(ui.canResizeWindow());
    EXPECT_FALSE(ui.resizeWindow(1040, 880));
    ui.reportWindowSize(1040, 880);
    EXPECT_TRUE(fixed.calls.empty());
}

TEST(LV2UiBridge, PortEventsSetTheParametersAndAreNotSentBack) {
    RecordingHost host;
    vr58::lv2::UiController ui(host.offer(true, true));
    EXPECT_EQ(portEvent(ui, parameterPort(kTrim), -12.0f), kTrim);
    EXPECT_EQ(ui.parameterValue(kTrim), 0.25f);
    EXPECT_EQ(portEvent(ui, parameterPort(kTrim), -12.0f), -1) << "the same value again changes nothing";
    EXPECT_EQ(portEvent(ui, parameterPort(kEqCurve), portValueOf(kEditorBuild, kEqCurve, 0.0f)), kEqCurve);
    EXPECT_EQ(ui.parameterValue(kEqCurve), 0.0f);
    portEvent(ui, parameterPort(kVuHold), 1.0f);
    EXPECT_EQ(ui.parameterValue(kVuHold), 1.0f);
    // Beyond the range, NaN: the face gets a value it can show.
    portEvent(ui, parameterPort(kTrim), 1000.0f);
    EXPECT_EQ(ui.parameterValue(kTrim), 1.0f);
    portEvent(ui, parameterPort(kTrim), std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(ui.parameterValue(kTrim) >= 0.0f && ui.parameterValue(kTrim) <= 1.0f);
    EXPECT_TRUE(host.calls.empty());
}

TEST(LV2UiBridge, WhatIsNotOneFloatOfAKnownPortIsIgnored) {
    RecordingHost host;
    vr58::lv2::UiController ui(host.offer(true, true));
    const float minus12 = -12.0f;
    const double wide = -12.0;
    ui.portEvent(parameterPort(kTrim), sizeof minus12, 1, &minus12); // another protocol
    ui.portEvent(parameterPort(kTrim), sizeof wide, 0, &wide);
    ui.portEvent(parameterPort(kTrim), sizeof minus12, 0, nullptr);
    ui.portEvent(vr58::lv2::kAudioInLeft, sizeof minus12, 0, &minus12);
    ui.portEvent(vr58::lv2::meterPeakPort(kEditorBuild) + 1, sizeof minus12, 0, &minus12);
    EXPECT_EQ(ui.portEvent(UINT32_MAX, sizeof minus12, 0, &minus12), -1);
    for (int32_t i = 0; i < kEditorBuild.parameterCount; ++i)
        EXPECT_EQ(ui.parameterValue(i), kEditorBuild.parameters[i].defaultValue) << i;
}

TEST(LV2UiBridge, TheMeterPortsFeedTheMetersWhileTheyRun) {
    RecordingHost host;
    vr58::lv2::UiController ui(host.offer(true, true));
    vr58::MeterFeed& feed = ui.meterFeed();
    const uint32_t level = vr58::lv2::meterLevelPort(kEditorBuild);
    const uint32_t peak = vr58::lv2::meterPeakPort(kEditorBuild);
    // The editor closed: nothing is kept for it.
    portEvent(ui, level, 0.5f);
    portEvent(ui, peak, 2.0f);
    feed.start();
    EXPECT_EQ(feed.smoothedLevel(), 0.0);
    EXPECT_EQ(feed.takePeak(), 0.0);

    portEvent(ui, level, 0.25f);
    EXPECT_EQ(feed.smoothedLevel(), 0.25);
    EXPECT_EQ(feed.takePeak(), 0.0) << "a level is no peak";
    // The held peak arrives at every update: the LED takes the largest since it last looked.
    portEvent(ui, peak, 1.5f);
    portEvent(ui, peak, 1.25f);
    EXPECT_EQ(feed.takePeak(), 1.5);
    EXPECT_EQ(feed.takePeak(), 0.0);
    portEvent(ui, peak, 1.25f);
    EXPECT_EQ(feed.takePeak(), 1.25);
    EXPECT_EQ(feed.smoothedLevel(), 0.25);
    feed.stop();
    portEvent(ui, level, 0.75f);
    EXPECT_EQ(feed.smoothedLevel(), 0.25);
    EXPECT_TRUE(host.calls.empty());
}

// Hosts load UI libraries to read their descriptors (plug-in scans) without showing them: that must not
// reach for the X libraries, let alone the display.
TEST(LV2UiLibrary, ItsDescriptorIsReadWithoutTheXLibraries) {
    void* library = dlopen(VR58G_UI_BINARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using DescriptorFunction = const LV2UI_Descriptor* (*)(uint32_t);
    auto descriptorOf = reinterpret_cast<DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    ASSERT_NE(descriptorOf, nullptr);
    const LV2UI_Descriptor* descriptor = descriptorOf(0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_STREQ(descriptor->URI, vr58::lv2::kEditorUiUri);
    EXPECT_EQ(descriptorOf(1), nullptr);
    EXPECT_NE(descriptor->extension_data(LV2_UI__idleInterface), nullptr);
    EXPECT_EQ(descriptor->extension_data(LV2_UI__showInterface), nullptr);
    // No window to open in, or another plug-in's URI: no UI.
    LV2UI_Widget widget = nullptr;
    const LV2_Feature* none[] = {nullptr};
    EXPECT_EQ(descriptor->instantiate(descriptor, vr58::lv2::kEditorPluginUri, "", &RecordingHost::write,
                                      nullptr, &widget, none),
              nullptr);
    // A host's timer may still send port events or idle with a null handle after cleanup (jalv's does as
    // its window closes).
    const float level = 0.5f;
    descriptor->port_event(nullptr, vr58::lv2::meterLevelPort(vr58::kEditorBuild), sizeof level, 0, &level);
    static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface))
        ->idle(nullptr);
    EXPECT_EQ(dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD), nullptr);
    dlclose(library);
}

} // namespace
