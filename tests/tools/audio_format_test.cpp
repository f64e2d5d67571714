// The output's container and sample format chosen from the options, the target name and the input.
#include "audio_file.h"
#include "cli_error.h"

#include <gtest/gtest.h>

using namespace vr58::tool;

namespace {
AudioStreamInfo input(int format, int channels = 2) {
    return {format, channels, 44100, 1000};
}
} // namespace

TEST(OutputFormat, ContainerFromOptionThenExtensionThenInput) {
    const AudioStreamInfo wav16 = input(SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(chooseOutputFormat(wav16, "out.wav", std::nullopt, std::nullopt),
              SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(chooseOutputFormat(wav16, "out.FLAC", std::nullopt, std::nullopt),
              SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_EQ(chooseOutputFormat(wav16, "out.aif", std::nullopt, std::nullopt),
              SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
    EXPECT_EQ(chooseOutputFormat(wav16, "out", std::nullopt, std::nullopt), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(chooseOutputFormat(wav16, "out.flac", std::string("wav"), std::nullopt),
              SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

TEST(OutputFormat, SampleFormatKeptWhenItFitsElsePcm24) {
    const AudioStreamInfo wavFloat = input(SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(chooseOutputFormat(wavFloat, "o.aiff", std::nullopt, std::nullopt),
              SF_FORMAT_AIFF | SF_FORMAT_FLOAT);
    EXPECT_EQ(chooseOutputFormat(wavFloat, "o.flac", std::nullopt, std::nullopt),
              SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_EQ(chooseOutputFormat(wavFloat, "o.wav", std::nullopt, std::string("pcm16")),
              SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_THROW(chooseOutputFormat(wavFloat, "o.flac", std::nullopt, std::string("double")), CliError);
}
