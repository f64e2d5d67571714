// The editor's size: where it comes from (saved choice, host hint, screen), the settings file's bad
// cases, the right-click menu and its keys, the host's window request, and the images each size keeps.
#include "vst2/QuorvaneTapedeckGUI.h"
#include "editor/editor_scale.h"
#include "editor/editor_settings.h"
#include "editor/skin_bitmaps.h"
#include "editor_host.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cbuttons.h"
#include "vstgui/ccontrol.h"
#include "vstgui/cframe.h"
#include "vstgui/cpopuplist.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace VSTGUI;
using namespace vr58::testing;
namespace fs = std::filesystem;

namespace {

// A settings folder of the test's own, named after it, removed afterwards.
class ConfigFolder {
public:
    ConfigFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = fs::temp_directory_path() /
               (std::string("vr58-config-") + info->test_suite_name() + "-" + info->name());
        fs::remove_all(path);
        fs::create_directories(path);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old) saved = old, hadSaved = true;
        setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    }
    ~ConfigFolder() {
        if (hadSaved)
            setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;

private:
    std::string saved;
    bool hadSaved = false;
};

void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

TEST(EditorScaleChoice, SavedChoiceThenHostHintThenScreenThenOneHundred) {
    using vr58::chooseEditorScale;
    EXPECT_EQ(chooseEditorScale({150, 2.0f, 96}), 150);
    EXPECT_EQ(chooseEditorScale({130, 2.0f, 96}), 200); // a size not offered is no choice
    EXPECT_EQ(chooseEditorScale({0, 1.5f, 192}), 150);
    EXPECT_EQ(chooseEditorScale({0, 1.3f, 0}), 125);
    EXPECT_EQ(chooseEditorScale({0, 1.375f, 0}), 150); // halves up
    EXPECT_EQ(chooseEditorScale({0, 3.0f, 0}), 200);
    EXPECT_EQ(chooseEditorScale({0, std::nanf(""), 192}), 200);
    EXPECT_EQ(chooseEditorScale({0, -1.0f, 120}), 125);
    EXPECT_EQ(chooseEditorScale({0, 0, 144}), 150);
    EXPECT_EQ(chooseEditorScale({0, 0, 72}), 100);
    EXPECT_EQ(chooseEditorScale({0, 0, 0}), 100);
}

TEST(EditorSettingsFile, MissingGarbledOrForeignFilesMeanNoChoice) {
    ConfigFolder folder;
    const fs::path file = vr58::editorSettingsPath();
    EXPECT_EQ(file, folder.path / "quorvane-vr58" / "editor.cfg");
    EXPECT_EQ(vr58::readEditorScale(file), 0); // missing
    EXPECT_EQ(vr58::readEditorScale(fs::path()), 0);

    const std::pair<std::string, int32_t> cases[] = {
        {"editor-scale = 150\n", 150},
        {"# comment\r\neditor-scale=175\r\n", 175},
        {"editor-scale = 151\n", 0},
        {"editor-scale = 150abc\n", 0},
        {"editor-scale = -150\n", 0},
        {"editor-scale = \n", 0},
        {"scale = 150\n", 0},
        {std::string("\x89PNG\r\n\x1a\n\0\0\xff", 11), 0},
        {std::string(5000, 'x') + "\neditor-scale = 150\n", 0}, // no file of ours is that long
    };
    for (const auto& [text, expected] : cases) {
        writeFile(file, text);
        EXPECT_EQ(vr58::readEditorScale(file), expected) << text.substr(0, 40);
    }
    // A folder where the file should be is unreadable as a file.
    fs::remove(file);
    fs::create_directories(file);
    EXPECT_EQ(vr58::readEditorScale(file), 0);
}

TEST(EditorSettingsFile, WritesAreWholeAndUnwritablePlacesAnswerFalse) {
    ConfigFolder folder;
    const fs::path file = vr58::editorSettingsPath();
    ASSERT_TRUE(vr58::writeEditorScale(file, 125)); // makes the folder
    EXPECT_EQ(vr58::readEditorScale(file), 125);
    ASSERT_TRUE(vr58::writeEditorScale(file, 200));
    EXPECT_EQ(vr58::readEditorScale(file), 200);
    EXPECT_FALSE(fs::exists(fs::path(file.string() + ".new")));
    EXPECT_FALSE(vr58::writeEditorScale(file, 130)); // not an offered size
    EXPECT_EQ(vr58::readEditorScale(file), 200);

    // A plain file where the folder should be: the folder cannot be made.
    writeFile(folder.path / "blocked", "x");
    EXPECT_FALSE(vr58::writeEditorScale(folder.path / "blocked" / "editor.cfg", 150));
    // A folder where the file should be: nothing is replaced and nothing is left behind.
    fs::create_directories(folder.path / "dir.cfg");
    EXPECT_FALSE(vr58::writeEditorScale(folder.path / "dir.cfg", 150));
    EXPECT_TRUE(fs::is_directory(folder.path / "dir.cfg"));
    EXPECT_FALSE(fs::exists(folder.path / "dir.cfg.new"));
    EXPECT_FALSE(vr58::writeEditorScale(fs::path(), 150));
}

TEST(EditorSettingsFile, RelativeOrMissingConfigHomeFallsBackToTheHomeFolder) {
    ConfigFolder folder;
    setenv("XDG_CONFIG_HOME", "relative/path", 1);
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(vr58::editorSettingsPath(), fs::path(home) / ".config" / "quorvane-vr58" / "editor.cfg");
    unsetenv("XDG_CONFIG_HOME");
    const std::string savedHome = home;
    unsetenv("HOME");
    EXPECT_TRUE(vr58::editorSettingsPath().empty());
    setenv("HOME", savedHome.c_str(), 1);
}

class EditorScale : public EditorTest {
protected:
    EditorScale() {
        effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
        editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
    }
    ~EditorScale() override {
        if (record) dispatch(record, effClose);
    }
    ERect size() {
        ERect* r = nullptr;
        dispatch(record, effEditGetRect, 0, 0, &r);
        return *r;
    }
    intptr_t open() {
        const ERect r = size();
        window.width = r.right;
        window.height = r.bottom;
        const intptr_t opened = dispatch(record, effEditOpen, 0, 0, &window);
        // The system's first paint of the new window; idle passes draw only after it.
        if (opened) window.child->paint(CRect(0, 0, r.right, r.bottom));
        return opened;
    }
    void click(CPoint where, bool right) {
        platform::InputState state;
        (right ? state.right : state.left) = true;
        soft().setInput(state);
        window.child->press(where);
        soft().setInput(platform::InputState());
    }
    // The device position of the middle of a menu line.
    CPoint lineCentre(int32_t line) {
        const CRect r = editor->getSizeMenu()->lineRect(line);
        const int32_t scale = editor->getScale();
        return CPoint((r.left + r.right) / 2 * scale / 100, (r.top + r.bottom) / 2 * scale / 100);
    }
    intptr_t key(uint8_t virt) { return dispatch(record, effEditKeyDown, 0, virt, nullptr, 0); }
    const HostCall* lastCall(int32_t opcode) const {
        for (auto it = host.calls.rbegin(); it != host.calls.rend(); ++it)
            if (it->opcode == opcode) return &*it;
        return nullptr;
    }

    ConfigFolder folder;
    QuorvaneTapedeck* effect;
    QuorvaneTapedeckGUI* editor;
    AEffect* record;
};

TEST_F(EditorScale, TwoEditorsAtTwoHundredPercentShareOneImageSetWhichAnOpeningAtAnotherSizeFrees) {
    auto* otherEffect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
    auto* other = new QuorvaneTapedeckGUI(otherEffect, otherEffect->meterFeed());
    soft::HostWindow otherWindow;
    otherWindow.width = 1040;
    otherWindow.height = 880;
    const auto openOther = [&](int32_t scale) {
        other->setNextOpeningScale(scale);
        if (dispatch(otherEffect->getAeffect(), effEditOpen, 0, 0, &otherWindow) != 1) return false;
        return otherWindow.child->paint(otherWindow.child->screen().bounds());
    };
    const int64_t heldBefore = CBitmap::pixelBytesHeld();
    editor->setNextOpeningScale(200);
    ASSERT_EQ(open(), 1);
    const int64_t made = CBitmap::framesMade();
    const int64_t held = CBitmap::pixelBytesHeld();
    EXPECT_GT(held, heldBefore);
    ASSERT_TRUE(openOther(200));
    // The same face at the same values: nothing decoded again, not a byte of pixels more.
    EXPECT_EQ(CBitmap::framesMade(), made);
    EXPECT_EQ(CBitmap::pixelBytesHeld(), held);
    dispatch(record, effEditClose);
    dispatch(otherEffect->getAeffect(), effEditClose);
    // Kept for the next opening at the size, then freed by one at another size.
    ASSERT_TRUE(openOther(200));
    EXPECT_EQ(CBitmap::framesMade(), made);
    dispatch(otherEffect->getAeffect(), effEditClose);
    ASSERT_TRUE(openOther(100));
    EXPECT_FALSE(vr58::SkinBitmaps::isDecoded(200));
    dispatch(otherEffect->getAeffect(), effEditClose);
    dispatch(otherEffect->getAeffect(), effClose);
    dispatch(record, effClose);
    record = nullptr;
    EXPECT_EQ(CBitmap::pixelBytesHeld(), heldBefore);
}

TEST_F(EditorScale, ScreenAtTwoHundredPercentOpensTwiceTheFaceAndDestroyingTheEditorKeepsNoTwoTimesImages) {
    soft().setScreenDpi(192);
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(size().right, 1040);
    EXPECT_EQ(size().bottom, 880);
    ASSERT_NE(window.child, nullptr);
    EXPECT_EQ(window.child->screen().width, 1040);
    EXPECT_EQ(window.child->screen().height, 880);
    EXPECT_EQ(editor->getFrame()->getScale(), 200);
    EXPECT_TRUE(vr58::SkinBitmaps::isDecoded(200));
    dispatch(record, effEditClose);
    EXPECT_EQ(size().right, 1040); // still what the next opening takes
    dispatch(record, effClose);
    record = nullptr;
    EXPECT_FALSE(vr58::SkinBitmaps::isDecoded(200));
}

TEST_F(EditorScale, HostHintSetsTheSizeUnlessTheUserChose) {
    constexpr int32_t kPreS = 0x50726553;
    constexpr intptr_t kAeCs = 0x41654373;
    EXPECT_EQ(dispatch(record, effVendorSpecific, kPreS, kAeCs, nullptr, 1.5f), 1);
    EXPECT_EQ(size().right, 780);
    EXPECT_EQ(size().bottom, 660);
    EXPECT_EQ(dispatch(record, effVendorSpecific, kPreS, 1234, nullptr, 2.0f), 0);
    EXPECT_EQ(dispatch(record, effVendorSpecific, 1234, kAeCs, nullptr, 2.0f), 0);
    EXPECT_EQ(size().right, 780);
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(window.child->screen().width, 780);

    // While open, a new hint resizes the window through the host at the next idle.
    EXPECT_EQ(dispatch(record, effVendorSpecific, kPreS, kAeCs, nullptr, 2.0f), 1);
    dispatch(record, effEditIdle);
    const HostCall* request = lastCall(audioMasterSizeWindow);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->index, 1040);
    EXPECT_EQ(request->value, 880);
    EXPECT_EQ(editor->getFrame()->getScale(), 200);

    // A saved choice outranks the host's hint.
    ASSERT_TRUE(vr58::writeEditorScale(vr58::editorSettingsPath(), 125));
    dispatch(record, effEditClose);
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(editor->getScale(), 125);
    EXPECT_EQ(dispatch(record, effVendorSpecific, kPreS, kAeCs, nullptr, 1.75f), 1);
    dispatch(record, effEditIdle);
    EXPECT_EQ(editor->getScale(), 125);
}

TEST_F(EditorScale, RightClickMenuChoosesASizeThatTheHostResizesTo) {
    ASSERT_EQ(open(), 1);
    click(CPoint(300, 200), true);
    CPopupList* menu = editor->getSizeMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(editor->getFrame()->getModalView(), menu);
    EXPECT_EQ(menu->getHighlighted(), 0); // 100 %, the size in use
    dispatch(record, effEditIdle);
    // The menu is drawn over the face: its dark box with the lines' text in full white strokes.
    const CRect box = menu->getBox();
    int boxPixels = 0, textPixels = 0;
    for (CCoord y = box.top; y < box.bottom; ++y)
        for (CCoord x = box.left; x < box.right; ++x) {
            const uint32_t rgb = window.child->screen().at(x, y) & 0xFFFFFFu;
            boxPixels += rgb == 0x222226u;
            textPixels += (rgb >> 16) > 150; // light strokes; the highlight's blue has little red
        }
    EXPECT_GT(boxPixels, box.width() * box.height() / 3);
    EXPECT_GT(textPixels, 5 * 20); // five lines of several strokes each

    click(lineCentre(4), false); // "200 %"
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
    EXPECT_EQ(vr58::readEditorScale(vr58::editorSettingsPath()), 200);
    host.calls.clear();
    dispatch(record, effEditIdle);
    const HostCall* request = lastCall(audioMasterSizeWindow);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->index, 1040);
    EXPECT_EQ(request->value, 880);
    EXPECT_EQ(size().right, 1040);
    EXPECT_EQ(window.child->screen().width, 1040);
    EXPECT_EQ(editor->getFrame()->getScale(), 200);

    // A new editor takes the saved choice.
    auto* other = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
    new QuorvaneTapedeckGUI(other, other->meterFeed());
    ERect* r = nullptr;
    dispatch(other->getAeffect(), effEditGetRect, 0, 0, &r);
    dispatch(other->getAeffect(), effEditOpen, 0, 0, &window);
    EXPECT_EQ(r->right, 1040);
    dispatch(other->getAeffect(), effClose);
}

TEST_F(EditorScale, MenuKeysAndClicksOutside) {
    ASSERT_EQ(open(), 1);
    click(CPoint(10, 10), true);
    ASSERT_NE(editor->getSizeMenu(), nullptr);
    EXPECT_EQ(key(VKEY_ESCAPE), 1);
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
    EXPECT_EQ(editor->getFrame()->getModalView(), nullptr);

    // A click outside the box closes it, and reaches nothing under it.
    click(CPoint(10, 10), true);
    const CRect box = editor->getSizeMenu()->getBox();
    const float hiss = editor->control(9)->getValue();
    click(CPoint(460, 360), false); // the Hiss knob, outside the box opened at (10, 10)
    ASSERT_FALSE(box.pointInside(CPoint(460, 360)));
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
    EXPECT_EQ(editor->control(9)->getValue(), hiss);

    // Arrows move the highlight within the lines; Enter chooses.
    click(CPoint(10, 10), true);
    EXPECT_EQ(key(VKEY_UP), 1);
    EXPECT_EQ(editor->getSizeMenu()->getHighlighted(), 0);
    const int32_t last = vr58::TapedeckFace::menuLine(vr58::TapedeckFace::kMenuUser);
    for (int i = 0; i < last + 2; ++i) key(VKEY_DOWN);
    EXPECT_EQ(editor->getSizeMenu()->getHighlighted(), last);
    while (editor->getSizeMenu()->getHighlighted() > 3) key(VKEY_UP);
    EXPECT_EQ(key(VKEY_RETURN), 1);
    EXPECT_EQ(vr58::readEditorScale(vr58::editorSettingsPath()), 175);
    dispatch(record, effEditIdle);
    EXPECT_EQ(editor->getScale(), 175);
    EXPECT_EQ(window.child->screen().width, 910);

    // Closing the editor with the menu open takes the menu along.
    click(CPoint(10, 10), true);
    ASSERT_NE(editor->getSizeMenu(), nullptr);
    dispatch(record, effEditClose);
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
}

TEST_F(EditorScale, AHostThatCannotResizeKeepsTheSizeUntilTheEditorReopens) {
    host.refuses = audioMasterCanDo;
    ASSERT_EQ(open(), 1);
    click(CPoint(100, 100), true);
    click(lineCentre(2), false); // "150 %"
    dispatch(record, effEditIdle);
    EXPECT_EQ(lastCall(audioMasterSizeWindow), nullptr);
    EXPECT_EQ(editor->getScale(), 100);
    EXPECT_EQ(size().right, 520);
    dispatch(record, effEditClose);
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(editor->getScale(), 150);
    EXPECT_EQ(window.child->screen().width, 780);
}

TEST_F(EditorScale, AnUnsavableChoiceStillHoldsForThisEditor) {
    // The settings folder's place is taken by a file.
    writeFile(folder.path / "quorvane-vr58", "not a folder");
    ASSERT_EQ(open(), 1);
    click(CPoint(100, 100), true);
    click(lineCentre(1), false); // "125 %"
    dispatch(record, effEditIdle);
    EXPECT_EQ(editor->getScale(), 125);
    EXPECT_EQ(vr58::readEditorScale(vr58::editorSettingsPath()), 0);
}

} // namespace
