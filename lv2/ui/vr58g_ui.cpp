// VR58G_ui.so: the VR58-G editor as the LV2 X11 UI of urn:quorvane:vr58g. The host gives its window
// (ui:parent) and idles the UI on its user-interface thread; every entry below runs on that thread.
#include "ui_controller.h"
#include "widget_size_hints.h"

#include "editor/tapedeck_face.h"
#include "lv2/lv2_ports.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/x11/x11_backend.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <new>

namespace {

using vr58::lv2::UiController;
using vr58::lv2::UiHost;

const void* feature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

// The host's ui:scaleFactor option, 0 when it gives none.
float hostScaleFactor(const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(feature(features, LV2_URID__map));
    const auto* options = static_cast<const LV2_Options_Option*>(feature(features, LV2_OPTIONS__options));
    if (!map || !options) return 0.0f;
    const LV2_URID scaleFactor = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID atomFloat = map->map(map->handle, LV2_ATOM__Float);
    for (; options->key; ++options)
        if (options->key == scaleFactor && options->type == atomFloat && options->size == sizeof(float) &&
            options->value)
            return *static_cast<const float*>(options->value);
    return 0.0f;
}

struct Ui {
    explicit Ui(const UiHost& host) : controller(host), face(controller) {}
    // A gesture still open ends inside the host's touch before the face goes.
    ~Ui() { face.close(); }

    UiController controller;
    vr58::TapedeckFace face;
    bool hostIdles = false;
    std::chrono::steady_clock::time_point lastIdle;

    // After the opening and every idle pass, which may have given the face another size.
    void idleFace() {
        face.idle();
        reportSize();
    }
    // The widget's size hints first: the host's toolkit reads them when it hears of the new size.
    void reportSize() {
        if (!face.isOpen()) return;
        const int width = face.windowWidth(), height = face.windowHeight();
        if (width != hintedWidth || height != hintedHeight) {
            if (vr58::lv2::publishWidgetSize(face.getFrame()->getWindowHandle(), width, height)) {
                hintedWidth = width;
                hintedHeight = height;
            }
        }
        controller.reportWindowSize(width, height);
    }
    int hintedWidth = 0;
    int hintedHeight = 0;
};

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
    void* parent = const_cast<void*>(feature(features, LV2_UI__parent));
    if (!pluginUri || std::strcmp(pluginUri, vr58::lv2::kEditorPluginUri) != 0 || !write || !widget ||
        !parent)
        return nullptr;
    UiHost host;
    host.write = write;
    host.controller = controller;
    host.touch = static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch));
    host.resize = static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize));

    auto ui = std::unique_ptr<Ui>(new (std::nothrow) Ui(host));
    if (!ui) return nullptr;
    if (const float factor = hostScaleFactor(features); factor > 0.0f) ui->face.setHostScaleFactor(factor);
    // The widget the host gets stays the face's window for the UI's life: a new size resizes it.
    ui->face.setKeepsWindow(true);

    // The first connection to the X server is made here, for the face's window.
    if (!ui->face.open(parent, &VSTGUI::x11::x11Backend()) || !ui->face.getFrame()->getWindowHandle())
        return nullptr; // the face closes what did open
    *widget = ui->face.getFrame()->getWindowHandle();
    ui->reportSize();
    return ui.release();
}

// Closes the window and its connection and frees the face; the host goes on.
void cleanup(LV2UI_Handle handle) {
    delete static_cast<Ui*>(handle);
}

// Hosts may call with a null handle after the UI's cleanup: jalv 1.6 (through suil) does from its update
// timer while its window closes. Nothing to do then.
int idle(LV2UI_Handle handle) {
    auto* ui = static_cast<Ui*>(handle);
    if (!ui) return 0;
    ui->hostIdles = true;
    ui->idleFace();
    return 0;
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
    auto* ui = static_cast<Ui*>(handle);
    if (!ui) return; // as in idle
    if (const int32_t changed = ui->controller.portEvent(port, bufferSize, format, buffer); changed >= 0)
        ui->face.hostChanged(changed);
    // A host that never idles the UI still sends the meter ports at its update rate: those events then
    // drive the redraws and the window's input, no more often than every 30 ms.
    if (ui->hostIdles) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - ui->lastIdle < std::chrono::milliseconds(30)) return;
    ui->lastIdle = now;
    ui->idleFace();
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri) {
    return uri && std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {vr58::lv2::kEditorUiUri, instantiate, cleanup, portEvent,
                                      extensionData};

} // namespace

// The host, when it loads the library (any thread).
extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
