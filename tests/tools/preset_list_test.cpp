// The text list of presets: words and quotes, names that must make file names, and errors by line.
#include "cli_error.h"
#include "preset_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vr58::tool;

namespace {

std::string listError(const std::string& text) {
    const auto path =
        std::filesystem::temp_directory_path() / ("vr58-list-" + std::to_string(getpid()) + ".txt");
    std::ofstream(path) << text;
    std::string message = "accepted";
    try {
        readPresetList(path.string());
    } catch (const CliError& error) {
        message = error.what();
    }
    std::filesystem::remove(path);
    return message.substr(message.find(".txt") + 4);
}

} // namespace

TEST(PresetList, QuotesGroupWordsAnywhere) {
    EXPECT_EQ(splitWords("  \"Hot 7.5 ips\" --set \"EQ Curve=0.1\"\t--set=Trim=0.8 "),
              (std::vector<std::string>{"Hot 7.5 ips", "--set", "EQ Curve=0.1", "--set=Trim=0.8"}));
    EXPECT_EQ(splitWords("--set=\"EQ Curve\"=1"), (std::vector<std::string>{"--set=EQ Curve=1"}));
    EXPECT_EQ(splitWords("\"\" x"), (std::vector<std::string>{"", "x"}));
    EXPECT_THROW(splitWords("\"Hot --set Trim=1"), CliError);
}

TEST(PresetList, NamesMustBeUsableAsFileNames) {
    EXPECT_EQ(presetNameProblem("Clean 15 ips NAB"), "");
    EXPECT_EQ(presetNameProblem(std::string(27, 'x')), "");
    for (const std::string& bad :
         {std::string(), std::string(28, 'x'), std::string("a/b"), std::string("a\\b"), std::string("a:b"),
          std::string("..."), std::string(" lead"), std::string("tab\there")})
        EXPECT_NE(presetNameProblem(bad), "") << bad;
}

TEST(PresetList, ErrorsNameTheLineAndTheReason) {
    EXPECT_EQ(listError("# only a comment\n\n"), ": holds no presets");
    EXPECT_EQ(listError("\"A\" --set-normalised Trim=1\n\"A\" --set-normalised Gain=0\n"),
              ":2: preset: the name 'A' is used twice");
    EXPECT_EQ(listError("\"A\" --set-normalised Trim=2\n"),
              ":1: --set-normalised: value of 'Trim' must lie in 0..1, got 2 (a value in the "
              "parameter's units goes with --set)");
    EXPECT_EQ(listError("\"A\" --gain 2\n"),
              ":1: --gain: only --set and --set-normalised may follow a preset's name");
    EXPECT_EQ(listError("\"A\" Trim=1\n"), ":1: Trim=1: is not a --set option");
    EXPECT_EQ(listError("\n\"A --set-normalised Trim=1\n"), ":2: preset list: a double quote is not closed");
}
