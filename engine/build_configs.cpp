#include "engine/build_config.h"

namespace vr58 {

namespace {

template <build_tables::Build build>
constexpr BuildConfig configOf(const char* productName, const ParameterDefinition* parameters,
                               uint16_t count) {
    return {productName,
            parameters,
            count,
            build_tables::indexOf(build, "HB Att"),
            build_tables::indexOf(build, "Noise"),
            build_tables::indexOf(build, "H.Room"),
            build_tables::indexOf(build, "VU Hold"),
            build_tables::indexOf(build, "VU Path")};
}

} // namespace

const BuildConfig kEditorBuild = configOf<build_tables::Build::Editor>(
    "VR58-G Tape Recorder", kEditorParameters.data(), kEditorParameterCount);
const BuildConfig kPlainBuild =
    configOf<build_tables::Build::Plain>("VR58 Tape Recorder", kPlainParameters.data(), kPlainParameterCount);

const BuildConfig* siblingBuild(const BuildConfig& config) {
    if (&config == &kEditorBuild) return &kPlainBuild;
    if (&config == &kPlainBuild) return &kEditorBuild;
    return nullptr;
}

} // namespace vr58
