// The LV2 plug-in as a host drives it: the exported descriptors, port values reaching the chain, the
// state interface against the VST 2.4 libraries' chunks, and the meter ports of the editor bundle.
#include "effect/parameter_units.h"
#include "host/hosted_plugin.h"
#include "lv2/lv2_plugin.h"
#include "lv2/lv2_ports.h"

#include <gtest/gtest.h>

#include <lv2/atom/atom.h>

#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace vr58;
using namespace vr58::lv2;

namespace {

// A host's URID map and state storage.
struct Host {
    std::map<std::string, LV2_URID> ids;
    LV2_URID_Map map{this, [](LV2_URID_Map_Handle h, const char* uri) -> LV2_URID {
                         auto& ids = static_cast<Host*>(h)->ids;
                         auto [it, added] = ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1));
                         return it->second;
                     }};
    LV2_Feature mapFeature{LV2_URID__map, &map};
    const LV2_Feature* features[2] = {&mapFeature, nullptr};

    struct Value {
        std::vector<uint8_t> bytes;
        uint32_t type = 0;
    };
    std::map<uint32_t, Value> saved;

    static LV2_State_Status store(LV2_State_Handle h, uint32_t key, const void* value, size_t size,
                                  uint32_t type, uint32_t) {
        const auto* bytes = static_cast<const uint8_t*>(value);
        static_cast<Host*>(h)->saved[key] = {std::vector<uint8_t>(bytes, bytes + size), type};
        return LV2_STATE_SUCCESS;
    }
    static const void* retrieve(LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type,
                                uint32_t* flags) {
        auto& saved = static_cast<Host*>(h)->saved;
        const auto it = saved.find(key);
        if (it == saved.end()) return nullptr;
        *size = it->second.bytes.size();
        *type = it->second.type;
        *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
        return it->second.bytes.data();
    }
    std::vector<uint8_t> chunk() { return saved[map.map(this, kStateChunkKey)].bytes; }
    void holdChunk(const std::vector<uint8_t>& bytes) {
        saved[map.map(this, kStateChunkKey)] = {bytes, map.map(this, LV2_ATOM__Chunk)};
    }
};

// One instance with every port connected to its own memory, the controls at their declared defaults.
struct Instance {
    Instance(const BuildConfig& b, Host& host, double rate = 48000.0) : build(b) {
        descriptor = descriptorOf(build);
        handle = descriptor->instantiate(descriptor, rate, "", host.features);
        const uint32_t ports = parameterPort(build.parameterCount) + (&build == &kEditorBuild ? 2u : 0u);
        controls.resize(ports);
        for (int32_t i = 0; i < build.parameterCount; ++i)
            controls[parameterPort(i)] = portValueOf(build, i, build.parameters[i].defaultValue);
        for (uint32_t p = kFirstParameterPort; p < ports; ++p)
            descriptor->connect_port(handle, p, &controls[p]);
        descriptor->activate(handle);
    }
    ~Instance() {
        descriptor->deactivate(handle);
        descriptor->cleanup(handle);
    }
    float& port(const char* name) { return controls[parameterPort(ParameterUnits::of(build).indexOf(name))]; }
    void run(std::vector<float>& left, std::vector<float>& right, std::vector<float>& outL,
             std::vector<float>& outR) {
        descriptor->connect_port(handle, kAudioInLeft, left.data());
        descriptor->connect_port(handle, kAudioInRight, right.data());
        descriptor->connect_port(handle, kAudioOutLeft, outL.data());
        descriptor->connect_port(handle, kAudioOutRight, outR.data());
        descriptor->run(handle, static_cast<uint32_t>(left.size()));
    }
    void runSilence(uint32_t frames) {
        std::vector<float> l(frames), r(frames), ol(frames), orr(frames);
        run(l, r, ol, orr);
    }
    const LV2_State_Interface& state() const {
        return *static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    }
    LV2_State_Status save(Host& host) { return state().save(handle, Host::store, &host, 0, host.features); }
    LV2_State_Status restore(Host& host) {
        return state().restore(handle, Host::retrieve, &host, 0, host.features);
    }

    const BuildConfig& build;
    const LV2_Descriptor* descriptor;
    LV2_Handle handle;
    std::vector<float> controls;
};

std::unique_ptr<host::HostedPlugin> loadVst(const char* path) {
    std::string error;
    auto plugin = host::HostedPlugin::load(path, error);
    EXPECT_TRUE(plugin) << error;
    if (plugin) {
        plugin->open();
        plugin->setSampleRate(48000.0f);
        plugin->setBlockSize(256);
        plugin->mainsChanged(true);
    }
    return plugin;
}

// The same settings as the vr58 command reads them, given to a VST 2.4 library.
void setInUnits(host::HostedPlugin& vst, const BuildConfig& build,
                const std::map<std::string, std::string>& settings) {
    const ParameterUnits& units = ParameterUnits::of(build);
    std::vector<float> values;
    for (int32_t i = 0; i < build.parameterCount; ++i) values.push_back(vst.getParameter(i));
    for (const auto& [name, text] : settings) {
        const int32_t index = units.indexOf(name);
        const ParameterUnits::Parsed parsed = units.parse(index, text, values.data());
        ASSERT_TRUE(parsed.ok) << parsed.error;
        values[index] = parsed.value;
        vst.setParameter(index, parsed.value);
    }
}

std::vector<float> tone(size_t frames, double frequency, double amplitude) {
    std::vector<float> out(frames);
    for (size_t i = 0; i < frames; ++i)
        out[i] = static_cast<float>(amplitude * std::sin(2 * M_PI * frequency * i / 48000.0));
    return out;
}

const char* vstOf(const BuildConfig& build) {
    return &build == &kEditorBuild ? VR58_VST_EDITOR_PLUGIN : VR58_VST_PLAIN_PLUGIN;
}

} // namespace

TEST(Lv2Plugin, EachLibraryExportsItsOneDescriptor) {
    const std::pair<const char*, const char*> libraries[] = {{VR58_LV2_EDITOR_LIBRARY, kEditorPluginUri},
                                                             {VR58_LV2_PLAIN_LIBRARY, kPlainPluginUri}};
    for (const auto& [path, uri] : libraries) {
        void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        ASSERT_TRUE(library) << dlerror();
        using Entry = const LV2_Descriptor* (*)(uint32_t);
        const auto entry = reinterpret_cast<Entry>(dlsym(library, "lv2_descriptor"));
        ASSERT_TRUE(entry);
        ASSERT_TRUE(entry(0));
        EXPECT_STREQ(entry(0)->URI, uri);
        EXPECT_EQ(entry(1), nullptr);
        EXPECT_EQ(dlsym(library, "VSTPluginMain"), nullptr);
        // A host without a URID map still runs the plug-in; only its state is unavailable.
        LV2_Handle handle = entry(0)->instantiate(entry(0), 44100.0, path, nullptr);
        ASSERT_TRUE(handle);
        EXPECT_EQ(entry(0)->instantiate(entry(0), 0.0, path, nullptr), nullptr);
        const auto* state =
            static_cast<const LV2_State_Interface*>(entry(0)->extension_data(LV2_STATE__interface));
        ASSERT_TRUE(state);
        Host host;
        EXPECT_EQ(state->save(handle, Host::store, &host, 0, nullptr), LV2_STATE_ERR_NO_FEATURE);
        EXPECT_EQ(entry(0)->extension_data("urn:nothing"), nullptr);
        entry(0)->cleanup(handle);
        dlclose(library);
    }
}

// Ports set in units; the state holds the normalised values the VST 2.4 library holds after the same
// values in units were set on it, and the audio matches.
TEST(Lv2Plugin, PortsInUnitsGiveTheVstChunkAndItsSound) {
    for (const BuildConfig* build : {&kEditorBuild, &kPlainBuild}) {
        SCOPED_TRACE(build->productName);
        Host host;
        Instance lv2(*build, host);
        lv2.port("Noise") = 0.0f;
        lv2.port("Trim") = 7.5f;
        lv2.port("EQ Curve") = 2.0f;
        lv2.port("EQ RecHi") = -2.3f;
        lv2.port("Head") = 91.0f;
        lv2.port("Bump") = 40.0f;
        lv2.port("HB Att") = -1.5f;
        auto vst = loadVst(vstOf(*build));
        ASSERT_TRUE(vst);
        setInUnits(*vst, *build,
                   {{"Noise", "off"},
                    {"Trim", "+7.5dB"},
                    {"EQ Curve", "AES"},
                    {"EQ RecHi", "-2.3dB"},
                    {"Head", "91Hz"},
                    {"HB Att", "-1.5dB"}});
        vst->setParameter(kBump, 0.4f);

        std::vector<float> left = tone(4096, 110.0, 0.8), right = tone(4096, 5000.0, 0.5);
        std::vector<float> outL(4096), outR(4096);
        lv2.run(left, right, outL, outR);
        std::vector<float> vstL(4096), vstR(4096);
        float* in[2] = {left.data(), right.data()};
        float* out[2] = {vstL.data(), vstR.data()};
        ASSERT_TRUE(vst->processReplacing(in, out, 4096));
        EXPECT_EQ(outL, vstL);
        EXPECT_EQ(outR, vstR);

        ASSERT_EQ(lv2.save(host), LV2_STATE_SUCCESS);
        EXPECT_EQ(host.chunk(), vst->getChunk().bytes);
        EXPECT_EQ(host.chunk().size(), 4u * build->parameterCount);
    }
}

// A chunk saved by either VST 2.4 library restores as that library's sibling restores it.
TEST(Lv2Plugin, StateReadsTheChunkOfEitherBuild) {
    for (const BuildConfig* saver : {&kEditorBuild, &kPlainBuild}) {
        auto source = loadVst(vstOf(*saver));
        ASSERT_TRUE(source);
        setInUnits(*source, *saver,
                   {{"Trim", "-6dB"}, {"EQ Curve", "NAB"}, {"Hiss", "-70dB"}, {"HB Att", "-0.5dB"}});
        const std::vector<uint8_t> chunk = source->getChunk().bytes;
        for (const BuildConfig* reader : {&kEditorBuild, &kPlainBuild}) {
            SCOPED_TRACE(std::string(saver->productName) + " into " + reader->productName);
            Host host;
            Instance lv2(*reader, host);
            lv2.port("Gain") = 3.0f; // before the restore: the chunk's value replaces it
            lv2.runSilence(16);
            host.holdChunk(chunk);
            ASSERT_EQ(lv2.restore(host), LV2_STATE_SUCCESS);
            auto expected = loadVst(vstOf(*reader));
            setInUnits(*expected, *reader, {{"Gain", "+3dB"}});
            ASSERT_EQ(expected->setChunk(chunk), 0);
            lv2.runSilence(16); // the ports still hold what they held: they change nothing
            ASSERT_EQ(lv2.save(host), LV2_STATE_SUCCESS);
            EXPECT_EQ(host.chunk(), expected->getChunk().bytes);
            // A port moved after the restore takes effect.
            lv2.port("Hiss") = -80.0f;
            lv2.runSilence(16);
            ASSERT_EQ(lv2.save(host), LV2_STATE_SUCCESS);
            float hiss = 0.0f;
            std::memcpy(&hiss, &host.chunk()[4 * kHiss], 4);
            EXPECT_FLOAT_EQ(ParameterUnits::of(*reader).toUnit(kHiss, std::vector<float>(16, hiss).data()),
                            -80.0);
        }
    }
}

TEST(Lv2Plugin, StateRefusesWhatIsNotAChunkAndReadsOtherSizesAsTheVstLibraryDoes) {
    Host host;
    Instance lv2(kPlainBuild, host);
    auto vst = loadVst(VR58_VST_PLAIN_PLUGIN);
    const std::vector<uint8_t> defaults = vst->getChunk().bytes;
    EXPECT_EQ(lv2.restore(host), LV2_STATE_ERR_NO_PROPERTY);
    host.saved[host.map.map(&host, kStateChunkKey)] = {std::vector<uint8_t>(48, 0),
                                                       host.map.map(&host, LV2_ATOM__String)};
    EXPECT_EQ(lv2.restore(host), LV2_STATE_ERR_BAD_TYPE);
    ASSERT_EQ(lv2.save(host), LV2_STATE_SUCCESS);
    EXPECT_EQ(host.chunk(), defaults) << "nothing of the refused states was taken";
    // Longer than any build's chunk, and one value and a half: the first values count, the rest keep theirs.
    for (size_t size : {size_t{4096}, size_t{6}}) {
        std::vector<uint8_t> odd(size);
        for (size_t k = 0; k < size; ++k) odd[k] = static_cast<uint8_t>(k % 4 == 3 ? 0x3e : 0x11 * k);
        host.holdChunk(odd);
        ASSERT_EQ(lv2.restore(host), LV2_STATE_SUCCESS);
        vst->setChunk(odd);
        ASSERT_EQ(lv2.save(host), LV2_STATE_SUCCESS);
        EXPECT_EQ(host.chunk(), vst->getChunk().bytes) << size;
    }
}

// H.Room's default (0.625) lies between two positions: the port's -18 dB keeps it, so a fresh instance's
// state equals the VST 2.4 library's defaults; another position replaces it.
TEST(Lv2Plugin, SwitchPortsKeepTheStoredValueWhileTheirPositionHolds) {
    Host host;
    Instance lv2(kEditorBuild, host);
    lv2.port("H.Room") = -18.0f;
    lv2.port("EQ Curve") = 1.2f; // IEC still
    lv2.runSilence(8);
    ASSERT_EQ(lv2.save(host), LV2_STATE_SUCCESS);
    auto vst = loadVst(VR58_VST_EDITOR_PLUGIN);
    EXPECT_EQ(host.chunk(), vst->getChunk().bytes);
    lv2.port("H.Room") = -12.0f;
    lv2.runSilence(8);
    ASSERT_EQ(lv2.save(host), LV2_STATE_SUCCESS);
    float room = 1.0f;
    std::memcpy(&room, &host.chunk()[4 * kEditorBuild.headRoomIndex], 4);
    EXPECT_EQ(room, 0.0f);
}

// The peak port holds an over for 50 ms, long enough for a UI reading at 25 Hz, then falls on the block
// that completes the hold; the level port follows the VU's ballistics.
TEST(Lv2Plugin, MeterPortsPublishTheLevelAndAHeldPeak) {
    Host host;
    Instance lv2(kEditorBuild, host);
    float& level = lv2.controls[meterLevelPort(kEditorBuild)];
    float& peak = lv2.controls[meterPeakPort(kEditorBuild)];
    lv2.port("VU Path") = 0.0f; // the input: silence after the burst reads 0
    const uint32_t block = 48;  // 1 ms at 48 kHz: fifty blocks make the hold exactly
    std::vector<float> burst = tone(block, 1000.0, 1.0), silence(block, 0.0f), outL(block), outR(block);
    lv2.run(burst, burst, outL, outR);
    const float over = peak;
    EXPECT_GT(over, 0.5f);
    int heldRuns = 0;
    while (heldRuns < 200 && peak == over) {
        std::vector<float> l = silence, r = silence;
        lv2.run(l, r, outL, outR);
        ++heldRuns;
    }
    EXPECT_EQ(heldRuns, 50);
    EXPECT_EQ(peak, 0.0f);
    // A steady tone: the level rises towards it and the peak stays up.
    float lastLevel = 0.0f;
    for (int run = 0; run < 300; ++run) {
        std::vector<float> l = tone(block, 1000.0, 0.5), r = l;
        lv2.run(l, r, outL, outR);
        if (run == 10) lastLevel = level;
    }
    EXPECT_GT(lastLevel, 0.0f);
    EXPECT_GT(level, lastLevel);
    EXPECT_GT(peak, 0.0f);
    // The plain bundle has no meter ports: connecting past its last port is ignored.
    Instance plain(kPlainBuild, host);
    float stray = 123.0f;
    plain.descriptor->connect_port(plain.handle, meterLevelPort(kEditorBuild), &stray);
    plain.runSilence(64);
    EXPECT_EQ(stray, 123.0f);
}

// LV2 hosts reinitialise an instance by deactivate and activate: the same input then renders as it did
// in the fresh instance, with nothing of the earlier audio ringing on.
TEST(Lv2Plugin, ActivateAfterDeactivateStartsFromSilence) {
    Host host;
    Instance lv2(kPlainBuild, host);
    lv2.port("Noise") = 0.0f;
    lv2.port("Bump") = 100.0f;
    std::vector<float> left = tone(2048, 70.0, 0.9), right = tone(2048, 90.0, 0.9);
    std::vector<float> first(2048), firstR(2048), again(2048), againR(2048);
    lv2.run(left, right, first, firstR);
    lv2.run(left, right, again, againR);
    EXPECT_NE(first, again) << "the bump still rings from the first block";
    lv2.descriptor->deactivate(lv2.handle);
    lv2.descriptor->activate(lv2.handle);
    lv2.run(left, right, again, againR);
    EXPECT_EQ(first, again);
    EXPECT_EQ(firstR, againR);
}
