// A tape effect of the editor build with an editor, driven through its record as a host drives it, on the
// memory backend: the host's window is a headless one, the clock and the pointer are the test's.
#pragma once

#include "fake_tick_count.h"
#include "vst2/AEffEditor.h"
#include "vst2/QuorvaneTapedeck.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vr58::testing {

struct HostCall {
    int32_t opcode;
    int32_t index;
    float opt;
    intptr_t value;
};

// What the host does: records every callback, and may act inside one (close the editor from inside
// audioMasterIdle, for instance).
class EditorHost {
public:
    EditorHost() { current = this; }
    ~EditorHost() { current = nullptr; }

    static intptr_t callback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void*, float opt) {
        if (!current) return 0;
        current->calls.push_back({opcode, index, opt, value});
        if (current->inside) current->inside(opcode);
        if (current->refuses == opcode) return 0;
        return opcode == audioMasterVersion ? 2400 : 1;
    }

    int count(int32_t opcode) const {
        int n = 0;
        for (const HostCall& c : calls) n += c.opcode == opcode;
        return n;
    }

    std::vector<HostCall> calls;
    std::function<void(int32_t opcode)> inside;
    // A request the host answers with 0 (audioMasterCanDo: it can do nothing asked).
    int32_t refuses = -1;

private:
    static inline EditorHost* current = nullptr;
};

// Fresh memory backend state for each test, the test's clock at `ticks`.
class EditorTest : public ::testing::Test {
protected:
    EditorTest() : previous(VSTGUI::platform::setBackend(&VSTGUI::soft::softBackend())) {
        soft().reset();
        setFakeTickCount(0);
        window.screenOrigin = VSTGUI::CPoint(100, 50);
        window.width = 520;
        window.height = 440;
    }
    ~EditorTest() override { VSTGUI::platform::setBackend(previous); }

    VSTGUI::soft::SoftBackend& soft() { return VSTGUI::soft::softBackend(); }
    intptr_t dispatch(AEffect* e, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }

    EditorHost host;
    VSTGUI::soft::HostWindow window;

private:
    VSTGUI::platform::Backend* previous;
};

} // namespace vr58::testing
