// One effEditIdle pass of the open editor in a real Win32 window (under Wine: wine with a display) at
// 100 % and 200 %, with a steady loud sine (an over: the needle rests at its stop, the lamp stays lit) or
// a sine whose level swings (the needle moves on most passes) played before each pass: the pass as it
// is (only the redrawn areas are copied to the window) and with the whole frame copied after it, as
// every pass did before. Prints the median over five runs of the thread's CPU time per pass, the wall
// time beside it, and the share of passes that showed another needle frame; the process calls between
// passes are not counted. Wine counts thread time in 10 ms steps: give enough passes (the argument) for
// a run to last a second or more.
#include "vst2/QuorvaneTapedeckGUI.h"
#include "editor/QuorvaneVU.h"
#include "vst2/QuorvaneTapedeck.h"
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

double wallSeconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Timing {
    double cpu;  // microseconds of thread time per pass, median of five runs
    double wall; // microseconds per pass, median of five runs
    double moved;
};

// The next block of the signal: the steady sine, or one whose level swings between about -36 and -1 dB of
// the 0 mark's level twice a second, so the needle crosses most of its scale.
void fill(std::vector<float>& block, bool swinging, int64_t& sample) {
    for (size_t i = 0; i < block.size(); ++i, ++sample) {
        const double level =
            swinging ? 0.1 * (1.0 + 0.95 * std::sin(2.0 * 3.14159265358979 * 2.0 * sample / 48000.0)) : 1.5;
        block[i] = static_cast<float>(level * std::sin(0.05 * static_cast<double>(swinging ? sample : i)));
    }
}

Timing measure(int32_t scale, bool whole, bool swinging, int passes) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VR58IdleTimingHost";
    RegisterClassA(&wc);
    const int width = 520 * scale / 100, height = 440 * scale / 100;
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "VR58-G", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                  0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    auto* effect = new QuorvaneTapedeck(host, vr58::kEditorBuild);
    auto* gui = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
    AEffect* record = effect->getAeffect();
    effect->setSampleRate(48000.0f);
    effect->setBlockSize(512);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    gui->setNextOpeningScale(scale);
    record->dispatcher(record, effEditOpen, 0, 0, parent, 0.0f);
    std::vector<float> signal(512), outL(512), outR(512);
    int64_t sample = 0;
    float* in[] = {signal.data(), signal.data()};
    float* out[] = {outL.data(), outR.data()};
    for (int i = 0; i < 20; ++i) {
        pumpMessages();
        fill(signal, swinging, sample);
        effect->processReplacing(in, out, 512);
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    const QuorvaneVU* vu = gui->vuMeter();
    std::vector<double> cpuRuns, wallRuns;
    int64_t moved = 0;
    for (int run = 0; run < 5; ++run) {
        double cpu = 0, wall = 0;
        for (int i = 0; i < passes; ++i) {
            fill(signal, swinging, sample);
            effect->processReplacing(in, out, 512);
            pumpMessages();
            const uint32_t before = vu->shownFrame();
            const double start = threadSeconds(), wallStart = wallSeconds();
            record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            if (whole) {
                CFrame* frame = gui->getFrame();
                CDrawContext* context = frame->createDrawContext();
                frame->getBackBuffer()->copyFrom(context, CRect(0, 0, 520, 440));
                context->release();
            }
            cpu += threadSeconds() - start;
            wall += wallSeconds() - wallStart;
            moved += vu->shownFrame() != before;
        }
        cpuRuns.push_back(cpu / passes * 1e6);
        wallRuns.push_back(wall / passes * 1e6);
    }
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    DestroyWindow(parent);
    std::sort(cpuRuns.begin(), cpuRuns.end());
    std::sort(wallRuns.begin(), wallRuns.end());
    return {cpuRuns[2], wallRuns[2], static_cast<double>(moved) / (5.0 * passes)};
}

} // namespace

int main(int argc, char** argv) {
    platform::setModuleHandle(GetModuleHandleA(nullptr));
    const int passes = argc > 1 ? std::max(10, std::atoi(argv[1])) : 400;
    std::printf("| size | signal | copied to the window | CPU us per pass | wall us per pass | passes that "
                "moved the needle |\n|---:|---|---|---:|---:|---:|\n");
    for (int32_t scale : {100, 200})
        for (bool swinging : {false, true})
            for (bool whole : {true, false}) {
                const Timing t = measure(scale, whole, swinging, passes);
                std::printf("| %d %% | %s | %s | %.0f | %.0f | %.0f %% |\n", scale,
                            swinging ? "swinging level" : "steady sine",
                            whole ? "whole frame copied after the pass" : "changed areas", t.cpu, t.wall,
                            100.0 * t.moved);
                std::fflush(stdout);
            }
    return 0;
}
