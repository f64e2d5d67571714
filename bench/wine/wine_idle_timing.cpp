// One effEditIdle pass of the open editor in a real Win32 window (under Wine: wine with a display) while
// loud audio moves the needle and keeps the lamp lit, at 100 % and 200 %: the pass as it is (only the
// redrawn areas are copied to the window) and with the whole frame copied after it, as every pass did
// before (slightly above the old pass: the changed areas are copied once more). Prints the median over
// five runs of the thread's CPU time per pass; the process calls between passes are not counted.
#include "editor/QuorvaneTapedeckGUI.h"
#include "effect/QuorvaneTapedeck.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/platform.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace VSTGUI;

namespace {

intptr_t host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double threadSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return value(kernel) + value(user);
}

// Microseconds of thread CPU time per pass, the median of five runs of `passes` passes.
double measure(int32_t scale, bool whole, int passes) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VR58IdleTimingHost";
    RegisterClassA(&wc);
    const int width = 520 * scale / 100, height = 440 * scale / 100;
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "VR58-G", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  width, height, nullptr, nullptr, wc.hInstance, nullptr);
    auto* effect = new QuorvaneTapedeck(host, vr58::kEditorBuild);
    auto* gui = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
    AEffect* record = effect->getAeffect();
    effect->setSampleRate(48000.0f);
    effect->setBlockSize(512);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    gui->setNextOpeningScale(scale);
    record->dispatcher(record, effEditOpen, 0, 0, parent, 0.0f);
    std::vector<float> loud(512), outL(512), outR(512);
    for (int i = 0; i < 512; ++i) loud[i] = 1.5f * std::sin(0.05f * i);
    float* in[] = {loud.data(), loud.data()};
    float* out[] = {outL.data(), outR.data()};
    for (int i = 0; i < 20; ++i) {
        pumpMessages();
        effect->processReplacing(in, out, 512);
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    std::vector<double> runs;
    for (int run = 0; run < 5; ++run) {
        double spent = 0;
        for (int i = 0; i < passes; ++i) {
            effect->processReplacing(in, out, 512);
            pumpMessages();
            const double start = threadSeconds();
            record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            if (whole) {
                CFrame* frame = gui->getFrame();
                CDrawContext* context = frame->createDrawContext();
                frame->getBackBuffer()->copyFrom(context, CRect(0, 0, 520, 440));
                context->release();
            }
            spent += threadSeconds() - start;
        }
        runs.push_back(spent / passes * 1e6);
    }
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    DestroyWindow(parent);
    std::sort(runs.begin(), runs.end());
    return runs[2];
}

} // namespace

int main(int argc, char** argv) {
    platform::setModuleHandle(GetModuleHandleA(nullptr));
    const int passes = argc > 1 ? std::max(10, std::atoi(argv[1])) : 400;
    std::printf("| size | copied to the window | CPU us per pass |\n|---:|---|---:|\n");
    for (int32_t scale : {100, 200})
        for (bool whole : {true, false})
            std::printf("| %d %% | %s | %.0f |\n", scale, whole ? "whole frame (the old pass)" : "changed areas",
                        measure(scale, whole, passes));
    return 0;
}
