#include "ui_controller.h"

#include "lv2/lv2_ports.h"

#include <cstring>

namespace vr58::lv2 {

namespace {
// As the plug-in stores a value: NaN as 0, the rest into 0..1.
float clampNormalised(float value) {
    if (!(value >= 0.0f)) return 0.0f;
    return value > 1.0f ? 1.0f : value;
}
} // namespace

UiController::UiController(const UiHost& host) : host(host) {
    for (int32_t i = 0; i < kEditorParameterCount; ++i) values[i] = kEditorParameters[i].defaultValue;
}

void UiController::touch(int32_t index, bool grabbed) {
    if (!isParameter(index) || !host.touch || !host.touch->touch) return;
    host.touch->touch(host.touch->handle, parameterPort(index), grabbed);
}

void UiController::beginEdit(int32_t index) {
    touch(index, true);
}

void UiController::endEdit(int32_t index) {
    touch(index, false);
}

void UiController::performEdit(int32_t index, float value) {
    if (!isParameter(index) || !host.write) return;
    values[index] = clampNormalised(value);
    const float portValue = portValueOf(kEditorBuild, index, values[index]);
    host.write(host.controller, parameterPort(index), sizeof(float), 0, &portValue);
}

float UiController::parameterValue(int32_t index) {
    return isParameter(index) ? values[index] : 0.0f;
}

bool UiController::canResizeWindow() {
    return host.resize && host.resize->ui_resize;
}

bool UiController::resizeWindow(int32_t width, int32_t height) {
    return canResizeWindow() && width > 0 && height > 0;
}

void UiController::reportWindowSize(int width, int height) {
    if (!canResizeWindow() || (width == reportedWidth && height == reportedHeight)) return;
    if (host.resize->ui_resize(host.resize->handle, width, height) != 0) return; // refused: asked again later
    reportedWidth = width;
    reportedHeight = height;
}

int32_t UiController::portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
    if (format != 0 || bufferSize != sizeof(float) || !buffer) return -1;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    if (port == meterLevelPort(kEditorBuild)) {
        meterLevel = value;
        feed.publish(meterLevel, 0.0);
    } else if (port == meterPeakPort(kEditorBuild)) {
        feed.publish(meterLevel, value);
    } else if (port >= kFirstParameterPort && port < parameterPort(kEditorParameterCount)) {
        const int32_t index = static_cast<int32_t>(port - kFirstParameterPort);
        // The host echoing what the face wrote changes nothing; not storing it again keeps a knob under
        // the pointer from being set back to a rounded value mid-drag.
        if (value == portValueOf(kEditorBuild, index, values[index])) return -1;
        values[index] = clampNormalised(normalisedOf(kEditorBuild, index, value));
        return index;
    }
    return -1;
}

} // namespace vr58::lv2
