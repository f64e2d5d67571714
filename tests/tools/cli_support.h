// Running the built vr58 program and making and reading audio files for its end-to-end tests.
#pragma once

#include <sndfile.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vr58::test {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    // The stderr text as lines (without their newlines).
    std::vector<std::string> errLines() const;
};

RunResult runVr58(const std::vector<std::string>& args);
// Any program, by path, with the test's environment.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args);

// A fresh empty folder for one test, removed with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }
    // Every entry of the folder, hidden ones included, by file name.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

struct Audio {
    SF_INFO info{};
    std::vector<double> interleaved;
    double at(long frame, int channel) const { return interleaved[frame * info.channels + channel]; }
};

// Writes frames made by sample(frame, channel) in -1..1.
void writeAudio(const std::filesystem::path& path, int format, int channels, int rate, long frames,
                const std::function<double(long, int)>& sample);
Audio readAudio(const std::filesystem::path& path);

// A test signal that uses the whole range without clipping: a different tone per channel.
double testTone(long frame, int channel);

} // namespace vr58::test
