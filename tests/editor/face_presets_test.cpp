// The face's own commands in a VST 2.4 host: factory and user presets from the menu, A/B compare, and
// undo/redo through the host's key calls, each seen by the host as begin/automate/end gestures.
#include "editor/factory_presets.h"
#include "editor/user_presets.h"
#include "editor/value_readout.h"
#include "editor_host.h"
#include "engine/fxp_preset.h"
#include "vst2/QuorvaneTapedeckGUI.h"

#include "vstgui/ccontrol.h"
#include "vstgui/cframe.h"
#include "vstgui/cpopuplist.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace VSTGUI;
using namespace vr58::testing;
namespace fs = std::filesystem;
using Face = vr58::TapedeckFace;

namespace {

constexpr int32_t kCount = vr58::kEditorParameterCount;
constexpr CPoint kScreenOrigin(100, 50);

// Settings and presets folders of the test's own, removed afterwards.
class UserFolders {
public:
    UserFolders() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / (std::string("vr58-presets-") + info->name());
        fs::remove_all(root);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    }
    ~UserFolders() {
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path root;
};

class FacePresets : public EditorTest {
protected:
    FacePresets() {
        effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
        editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
    }
    ~FacePresets() override { dispatch(record, effClose); }

    void open() {
        ASSERT_EQ(dispatch(record, effEditOpen, 0, 0, &window), 1);
        window.child->paint(CRect(0, 0, 520, 440));
    }
    void click(CPoint where, bool right) {
        platform::InputState state;
        (right ? state.right : state.left) = true;
        soft().setInput(state);
        window.child->press(where);
        soft().setInput(platform::InputState());
    }
    // Opens the menu with a right click and clicks `line`, then, for a submenu, `subLine`.
    void choose(int32_t line, int32_t subLine = -1) {
        click(CPoint(200, 150), true);
        ASSERT_NE(editor->getSizeMenu(), nullptr);
        clickLine(line);
        if (subLine >= 0) {
            ASSERT_NE(editor->getSizeMenu(), nullptr);
            clickLine(subLine);
        }
        EXPECT_EQ(editor->getSizeMenu(), nullptr);
    }
    void clickLine(int32_t line) {
        const CRect r = editor->getSizeMenu()->lineRect(line);
        click(CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2), false);
    }
    intptr_t key(char character, uint8_t modifiers) {
        return dispatch(record, effEditKeyDown, character, 0, nullptr, modifiers);
    }
    std::vector<float> values() {
        std::vector<float> v;
        for (int32_t i = 0; i < kCount; ++i) v.push_back(effect->getParameter(i));
        return v;
    }
    int count(int32_t opcode, int32_t index) const {
        int n = 0;
        for (const HostCall& c : host.calls) n += c.opcode == opcode && c.index == index;
        return n;
    }
    // Gain's knob dragged `up` pixels in linear mode.
    void dragGain(int up) {
        std::deque<soft::PointerStep> steps;
        for (int moved = 0; moved <= up; moved += 10)
            steps.push_back({CPoint(kScreenOrigin.h + 450, kScreenOrigin.v + 107 - moved), {true}});
        steps.push_back({CPoint(kScreenOrigin.h + 450, kScreenOrigin.v + 107 - up), {}});
        soft().setPointer(CPoint(kScreenOrigin.h + 450, kScreenOrigin.v + 107));
        soft().script(steps);
        window.child->press(CPoint(450, 107));
    }

    UserFolders folders;
    QuorvaneTapedeck* effect;
    QuorvaneTapedeckGUI* editor;
    AEffect* record;
};

TEST_F(FacePresets, AFactoryPresetSetsEveryParameterAsOneGestureEachAndAgainSendsNothing) {
    open();
    const int32_t preset = 3; // one that moves switches and knobs alike
    const vr58::FactoryPreset& chosen = vr58::kFactoryPresets[preset];
    const std::vector<float> before = values();
    host.calls.clear();
    choose(Face::menuLine(Face::kMenuFactory), preset);
    int changed = 0;
    for (int32_t i = 0; i < kCount; ++i) {
        EXPECT_EQ(effect->getParameter(i), chosen.values[i]) << i;
        EXPECT_EQ(editor->control(i)->getValue(), chosen.values[i]) << i;
        const int expected = before[i] != chosen.values[i];
        changed += expected;
        EXPECT_EQ(count(audioMasterBeginEdit, i), expected) << i;
        EXPECT_EQ(count(audioMasterAutomate, i), expected) << i;
        EXPECT_EQ(count(audioMasterEndEdit, i), expected) << i;
    }
    EXPECT_GT(changed, 4);
    dispatch(record, effEditIdle);
    EXPECT_EQ(editor->valueReadout()->getText(), chosen.name);

    host.calls.clear();
    choose(Face::menuLine(Face::kMenuFactory), preset);
    EXPECT_EQ(host.count(audioMasterBeginEdit), 0);
    EXPECT_EQ(host.count(audioMasterAutomate), 0);
}

#ifdef VR58_FACTORY_FXP_DIR
// The table the build makes for the editor holds what the plug-in stores for each preset of the list.
TEST(FactoryPresetTable, EqualsTheFxpFilesThePlugInWrites) {
    ASSERT_GT(vr58::kFactoryPresetCount, 0);
    for (int32_t p = 0; p < vr58::kFactoryPresetCount; ++p) {
        const vr58::FactoryPreset& preset = vr58::kFactoryPresets[p];
        float values[kCount];
        std::string name, error;
        ASSERT_TRUE(vr58::readPresetFile(fs::path(VR58_FACTORY_FXP_DIR) / (std::string(preset.name) + ".fxp"),
                                         values, name, error))
            << preset.name << ": " << error;
        EXPECT_EQ(name, preset.name);
        for (int32_t i = 0; i < kCount; ++i)
            EXPECT_EQ(values[i], preset.values[i]) << preset.name << " " << i;
    }
}
#endif

TEST_F(FacePresets, AUserPresetIsAValidFxpThatLoadsBackAndOtherFilesChangeNothing) {
    open();
    effect->setParameter(vr58::kTrim, 0.25f);
    effect->setParameter(vr58::kEditorBuild.vuHoldIndex, 1.0f);
    const std::vector<float> saved = values();
    choose(Face::menuLine(Face::kMenuUser), 0); // "Save preset as "User 1""
    const fs::path folder = folders.root / "data" / "quorvane-vr58" / "presets";
    ASSERT_TRUE(fs::exists(folder / "User 1.fxp"));
    std::ifstream in(folder / "User 1.fxp", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    vr58::host::ProgramPreset preset;
    std::string error;
    ASSERT_TRUE(vr58::host::decodeFxp(bytes, preset, error)) << error;
    EXPECT_EQ(preset.pluginId, vr58::kUniqueId);
    EXPECT_EQ(preset.name, "User 1");
    // The chunk is the plug-in's own: the effect takes it as a host would.
    QuorvaneTapedeck other(EditorHost::callback, vr58::kEditorBuild);
    other.setChunk(preset.chunk.data(), static_cast<int32_t>(preset.chunk.size()), true);
    for (int32_t i = 0; i < kCount; ++i) EXPECT_EQ(other.getParameter(i), saved[i]) << i;

    for (int32_t i = 0; i < kCount; ++i) effect->setParameter(i, saved[i] > 0.5f ? 0.0f : 1.0f);
    dispatch(record, effEditIdle);
    host.calls.clear();
    choose(Face::menuLine(Face::kMenuUser), 2); // the first saved preset, after Save and Show folder
    EXPECT_EQ(values(), saved);
    EXPECT_EQ(host.count(audioMasterBeginEdit), kCount);
    EXPECT_EQ(host.count(audioMasterEndEdit), kCount);
    // The next save takes the next free name, and the menu lists them in number order.
    choose(Face::menuLine(Face::kMenuUser), 0);
    EXPECT_EQ(vr58::nextUserPresetName(folder), "User 3");

    // A preset of the plain build sets its twelve parameters by name; the editor's own keep theirs.
    const float plainChunk[vr58::kPlainParameterCount] = {0.75f, 0.75f, 0.5f, 0.5f, 0.5f, 0.5f,
                                                          0.5f,  0.5f,  0.5f, 0.5f, 0.5f, 0.0f};
    vr58::host::ProgramPreset plain{vr58::kUniqueId, 1, vr58::kPlainParameterCount, "Plain", {}};
    plain.chunk.resize(sizeof plainChunk);
    std::memcpy(plain.chunk.data(), plainChunk, sizeof plainChunk);
    const fs::path plainFile = folders.root / "plain.fxp";
    const std::vector<uint8_t> plainBytes = vr58::host::encodeFxp(plain);
    std::ofstream(plainFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(plainBytes.data()),
               static_cast<std::streamsize>(plainBytes.size()));
    ASSERT_TRUE(editor->face().loadPresetFile(plainFile));
    EXPECT_EQ(effect->getParameter(vr58::kTrim), 0.75f);
    EXPECT_EQ(effect->getParameter(vr58::kEditorBuild.vuHoldIndex), saved[vr58::kEditorBuild.vuHoldIndex]);

    // A folder of many presets: the list stays inside the face, the rest left to the folder.
    for (int n = 4; n <= 30; ++n)
        fs::copy_file(folder / "User 1.fxp", folder / ("User " + std::to_string(n) + ".fxp"));
    click(CPoint(200, 150), true);
    clickLine(Face::menuLine(Face::kMenuUser));
    ASSERT_NE(editor->getSizeMenu(), nullptr);
    EXPECT_GE(editor->getSizeMenu()->getBox().top, 0);
    EXPECT_LE(editor->getSizeMenu()->getBox().bottom, 440);
    dispatch(record, effEditKeyDown, 0, VKEY_ESCAPE);

    // Another plug-in's preset, a truncated file and a missing one send nothing.
    vr58::host::ProgramPreset foreign = plain;
    foreign.pluginId = 0x41424344;
    const std::vector<uint8_t> foreignBytes = vr58::host::encodeFxp(foreign);
    std::ofstream(folders.root / "foreign.fxp", std::ios::binary)
        .write(reinterpret_cast<const char*>(foreignBytes.data()),
               static_cast<std::streamsize>(foreignBytes.size()));
    std::ofstream(folders.root / "short.fxp", std::ios::binary)
        .write(reinterpret_cast<const char*>(plainBytes.data()), 40);
    host.calls.clear();
    EXPECT_FALSE(editor->face().loadPresetFile(folders.root / "foreign.fxp"));
    EXPECT_FALSE(editor->face().loadPresetFile(folders.root / "short.fxp"));
    EXPECT_FALSE(editor->face().loadPresetFile(folders.root / "missing.fxp"));
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(FacePresets, CompareSwapsWholeSettingsAndKeepsTheOtherAcrossReopening) {
    open();
    effect->setParameter(vr58::kTrim, 0.3f);
    choose(Face::menuLine(Face::kMenuCopyAToB));
    choose(Face::menuLine(Face::kMenuCompare));
    EXPECT_TRUE(editor->face().isBActive());
    effect->setParameter(vr58::kTrim, 0.9f); // B changes
    effect->setParameter(vr58::kGain, 0.1f);
    const std::vector<float> b = values();

    dispatch(record, effEditClose);
    open();
    host.calls.clear();
    choose(Face::menuLine(Face::kMenuCompare));
    EXPECT_FALSE(editor->face().isBActive());
    EXPECT_EQ(effect->getParameter(vr58::kTrim), 0.3f);
    EXPECT_EQ(effect->getParameter(vr58::kGain), 0.5f);
    EXPECT_EQ(host.count(audioMasterBeginEdit), 2); // only what differs
    choose(Face::menuLine(Face::kMenuCompare));
    EXPECT_EQ(values(), b);

    // A swap taken back shows A again and keeps B whole.
    EXPECT_EQ(key('z', VSTGUI::MODIFIER_CONTROL), 1);
    EXPECT_FALSE(editor->face().isBActive());
    EXPECT_EQ(effect->getParameter(vr58::kTrim), 0.3f);
    choose(Face::menuLine(Face::kMenuCompare));
    EXPECT_EQ(values(), b);

    // Copy B to A while B shows, then back to A: the same.
    choose(Face::menuLine(Face::kMenuCopyBToA));
    choose(Face::menuLine(Face::kMenuCompare));
    EXPECT_EQ(values(), b);
}

TEST_F(FacePresets, UndoAndRedoThroughTheHostsKeysAndTheHostEndsTheRedoBranch) {
    open();
    ASSERT_EQ(effect->getParameter(vr58::kGain), 0.5f);
    dragGain(60);
    const float dragged = effect->getParameter(vr58::kGain);
    EXPECT_NEAR(dragged, 0.8f, 1e-6f);

    host.calls.clear();
    EXPECT_EQ(key('z', VSTGUI::MODIFIER_CONTROL), 1);
    EXPECT_EQ(effect->getParameter(vr58::kGain), 0.5f);
    ASSERT_EQ(host.calls.size(), 3u);
    EXPECT_EQ(host.calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(host.calls[1].opcode, audioMasterAutomate);
    EXPECT_EQ(host.calls[1].opt, 0.5f);
    EXPECT_EQ(host.calls[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(host.calls[2].index, vr58::kGain);
    EXPECT_EQ(key('Z', VSTGUI::MODIFIER_CONTROL | VSTGUI::MODIFIER_SHIFT), 1);
    EXPECT_EQ(effect->getParameter(vr58::kGain), dragged);
    EXPECT_EQ(key('z', VSTGUI::MODIFIER_CONTROL), 1);
    EXPECT_EQ(key('y', 0), 0); // a plain key is not ours

    // The host's own change, not yet shown at an idle pass, ends the redo branch.
    effect->setParameter(vr58::kTrim, 0.2f);
    host.calls.clear();
    key('y', VSTGUI::MODIFIER_CONTROL);
    EXPECT_EQ(effect->getParameter(vr58::kGain), 0.5f);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(effect->getParameter(vr58::kTrim), 0.2f); // and is not undone

    // 101 steps keep the last 100.
    for (int step = 0; step < 101; ++step) editor->face().applyFactoryPreset(step % 2);
    int undone = 0;
    while (editor->face().undo()) ++undone;
    EXPECT_EQ(undone, 100);
    for (int32_t i = 0; i < kCount; ++i)
        EXPECT_EQ(effect->getParameter(i), vr58::kFactoryPresets[0].values[i]);
}

} // namespace
