// Runs under Wine: renders the comparison material through a Windows DLL and writes the raw doubles, so
// the native test can compare them with the native plug-in's output.
#include "comparison_render.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vr58_wine_render PLUGIN.dll OUT.raw\n");
        return 2;
    }
    const auto render = vr58::testing::renderForComparison(argv[1]);
    if (render.samples.empty()) {
        std::fprintf(stderr, "vr58_wine_render: %s\n", render.error.c_str());
        return 1;
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 1;
    const size_t written = std::fwrite(render.samples.data(), sizeof(double), render.samples.size(), out);
    return std::fclose(out) == 0 && written == render.samples.size() ? 0 : 1;
}
