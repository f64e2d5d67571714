// Audio files through libsndfile: a reader of interleaved frames, a writer that goes through a
// PendingOutput, and the choice of the output's container and sample format.
#pragma once

#include "pending_output.h"

#include <sndfile.h>

#include <optional>
#include <string>

namespace vr58::tool {

struct AudioStreamInfo {
    int format = 0; // libsndfile major format | subtype
    int channels = 0;
    int sampleRate = 0;
    long long frames = 0;
};

class AudioReader {
public:
    explicit AudioReader(const std::string& path); // throws CliError naming the file
    ~AudioReader();
    AudioReader(const AudioReader&) = delete;
    AudioReader& operator=(const AudioReader&) = delete;

    const AudioStreamInfo& info() const { return info_; }
    // Reads up to frames interleaved frames as doubles in -1..1; returns how many were read (0 at the end).
    size_t read(double* interleaved, size_t frames);
    // For a file cut short (its header promises more audio than it holds): "the header says 8.00 s, the
    // file holds 0.57 s; rendered the 27360 frames it holds"; else empty. A cut file is read as far as it
    // goes, as libsndfile does.
    std::string shortfall() const;

private:
    std::string path_;
    SNDFILE* file_ = nullptr;
    AudioStreamInfo info_;
    double claimedSeconds_ = 0.0; // what the header promised, when more than the file holds
};

class AudioWriter {
public:
    // Opens the output's temporary file; throws CliError naming the target.
    AudioWriter(PendingOutput& output, int format, int channels, int sampleRate);
    ~AudioWriter();
    AudioWriter(const AudioWriter&) = delete;
    AudioWriter& operator=(const AudioWriter&) = delete;

    void write(const double* interleaved, size_t frames);
    // Flushes and closes the file, then moves it onto the target.
    void commit();

private:
    PendingOutput& output_;
    SNDFILE* file_ = nullptr;
};

// The output's format: its extension (.wav, .flac, .aif, .aiff, .ogg; anything else is refused, and
// --format must agree); --subtype, else Vorbis for .ogg, else the input's PCM or float sample format
// when the container can hold it, else 24-bit PCM.
int chooseOutputFormat(const AudioStreamInfo& input, const std::string& target,
                       const std::optional<std::string>& format, const std::optional<std::string>& subtype);

// True for the PCM sample formats, which clip what lies beyond full scale.
bool isIntegerSampleFormat(int format);
// "16-bit PCM", "32-bit float", ...
std::string sampleFormatName(int format);
// The step of formats of 16 bits or fewer (one least significant bit), which vr58 rounds to itself, with
// TPDF dither of that size; 0 for the others, whose rounding lies far below any audible level.
double ditherStep(int format);

} // namespace vr58::tool
