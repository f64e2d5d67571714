#include "engine/build_config.h"

namespace vr58 {

const BuildConfig kEditorBuild = {
    "VR58-G Tape Recorder", kEditorParameters, kEditorParameterCount, 13, 14, 10, 11, 12};
const BuildConfig kPlainBuild = {
    "VR58 Tape Recorder", kPlainParameters, kPlainParameterCount, 10, 11, -1, -1, -1};

const BuildConfig* siblingBuild(const BuildConfig& config) {
    if (&config == &kEditorBuild) return &kPlainBuild;
    if (&config == &kPlainBuild) return &kEditorBuild;
    return nullptr;
}

} // namespace vr58
