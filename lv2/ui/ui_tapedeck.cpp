#include "ui_tapedeck.h"

#include "engine/build_config.h"
#include "lv2/lv2_ports.h"

#include <cstring>

namespace vr58::lv2 {

UiTapedeck::UiTapedeck(const UiHost& host)
    : QuorvaneTapedeck(&UiTapedeck::editorRequest, kEditorBuild), host(host) {
    cEffect.user = this;
}

intptr_t UiTapedeck::editorRequest(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float) {
    auto* self = effect ? static_cast<UiTapedeck*>(effect->user) : nullptr;
    return self ? self->answer(opcode, index, value, ptr) : 0;
}

intptr_t UiTapedeck::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr) {
    const bool isParameter = index >= 0 && index < parameterCount;
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterAutomate: {
        if (!isParameter || !host.write) return 0;
        // The stored value, clamped as the DSP instance will receive it, in the port's unit.
        const float portValue = portValueOf(kEditorBuild, index, getParameter(index));
        host.write(host.controller, parameterPort(index), sizeof(float), 0, &portValue);
        return 1;
    }
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        if (!isParameter || !host.touch || !host.touch->touch) return 0;
        host.touch->touch(host.touch->handle, parameterPort(index), opcode == audioMasterBeginEdit);
        return 1;
    case audioMasterCanDo:
        return ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0 && host.resize &&
                       host.resize->ui_resize
                   ? 1
                   : 0;
    case audioMasterSizeWindow:
        // The editor reopens at the new size once this agrees; the host hears of it from
        // reportWindowSize when the window of that size exists (hosts size their container from the
        // window they find there).
        return host.resize && host.resize->ui_resize && index > 0 && value > 0 ? 1 : 0;
    default: // audioMasterIdle among them: the host idles the UI on its own
        return 0;
    }
}

void UiTapedeck::reportWindowSize(int width, int height) {
    if (!host.resize || !host.resize->ui_resize || (width == reportedWidth && height == reportedHeight))
        return;
    if (host.resize->ui_resize(host.resize->handle, width, height) != 0) return; // refused: asked again later
    reportedWidth = width;
    reportedHeight = height;
}

void UiTapedeck::portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
    if (format != 0 || bufferSize != sizeof(float) || !buffer) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    if (port == meterLevelPort(kEditorBuild)) {
        meterLevel = value;
        meterFeed().publish(meterLevel, 0.0);
    } else if (port == meterPeakPort(kEditorBuild)) {
        meterFeed().publish(meterLevel, value);
    } else if (port >= kFirstParameterPort && port < parameterPort(parameterCount)) {
        const int32_t index = static_cast<int32_t>(port - kFirstParameterPort);
        // The host echoing what the editor wrote changes nothing; not storing it again keeps a knob under
        // the pointer from being set back to a rounded value mid-drag.
        if (value == portValueOf(kEditorBuild, index, getParameter(index))) return;
        setParameter(index, normalisedOf(kEditorBuild, index, value));
    }
}

} // namespace vr58::lv2
