#include "audio_file.h"

#include "cli_error.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

const std::map<std::string, int> kContainers = {
    {"wav", SF_FORMAT_WAV}, {"flac", SF_FORMAT_FLAC}, {"aiff", SF_FORMAT_AIFF}, {"aif", SF_FORMAT_AIFF}};

const std::map<std::string, int> kSubtypes = {{"pcm16", SF_FORMAT_PCM_16},
                                              {"pcm24", SF_FORMAT_PCM_24},
                                              {"pcm32", SF_FORMAT_PCM_32},
                                              {"float", SF_FORMAT_FLOAT},
                                              {"double", SF_FORMAT_DOUBLE}};

std::string lowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    if (!extension.empty()) extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string sndfileReason(SNDFILE* file) {
    std::string reason = sf_strerror(file);
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ' || reason.back() == '\n'))
        reason.pop_back();
    return reason;
}

} // namespace

AudioReader::AudioReader(const std::string& path) : path_(path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) throw CliError(path, "no such file");
    if (fs::is_directory(status)) throw CliError(path, "is a directory");
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    if (!file_) throw CliError(path, "not a readable audio file (" + sndfileReason(nullptr) + ")");
    info_ = {info.format, info.channels, info.samplerate, static_cast<long long>(info.frames)};
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file_);
        file_ = nullptr;
        throw CliError(path, "audio file without channels or sample rate");
    }
}

AudioReader::~AudioReader() {
    if (file_) sf_close(file_);
}

size_t AudioReader::read(double* interleaved, size_t frames) {
    const sf_count_t got = sf_readf_double(file_, interleaved, static_cast<sf_count_t>(frames));
    if (got < 0 || (got == 0 && sf_error(file_) != SF_ERR_NO_ERROR))
        throw CliError(path_, "read error (" + sndfileReason(file_) + ")");
    return static_cast<size_t>(got);
}

AudioWriter::AudioWriter(PendingOutput& output, int format, int channels, int sampleRate) : output_(output) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRate;
    file_ = sf_open(output.temporaryPath().c_str(), SFM_WRITE, &info);
    if (!file_) throw CliError(output.target(), "cannot write (" + sndfileReason(nullptr) + ")");
    // Integer formats clip samples beyond full scale instead of wrapping them around.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

AudioWriter::~AudioWriter() {
    if (file_) sf_close(file_);
}

void AudioWriter::write(const double* interleaved, size_t frames) {
    const sf_count_t written = sf_writef_double(file_, interleaved, static_cast<sf_count_t>(frames));
    if (written != static_cast<sf_count_t>(frames))
        throw CliError(output_.target(), "write error (" + sndfileReason(file_) + ")");
}

void AudioWriter::commit() {
    const int result = sf_close(file_);
    file_ = nullptr;
    if (result != 0)
        throw CliError(output_.target(), "write error (" + std::string(sf_error_number(result)) + ")");
    output_.commit();
}

int chooseOutputFormat(const AudioStreamInfo& input, const std::string& target,
                       const std::optional<std::string>& format, const std::optional<std::string>& subtype) {
    int container = input.format & SF_FORMAT_TYPEMASK;
    if (format) {
        container = kContainers.at(*format);
    } else {
        const auto byExtension = kContainers.find(lowerExtension(target));
        if (byExtension != kContainers.end()) container = byExtension->second;
    }
    const auto fits = [&](int candidate) {
        SF_INFO info{};
        info.format = candidate;
        info.channels = input.channels;
        info.samplerate = input.sampleRate;
        return sf_format_check(&info) == SF_TRUE;
    };
    if (subtype) {
        const int chosen = container | kSubtypes.at(*subtype);
        if (!fits(chosen))
            throw CliError("--subtype", *subtype + " samples cannot be stored in this file format");
        return chosen;
    }
    const int kept = container | (input.format & SF_FORMAT_SUBMASK);
    if (fits(kept)) return kept;
    const int fallback = container | SF_FORMAT_PCM_24;
    if (fits(fallback)) return fallback;
    throw CliError(target, "cannot choose a sample format for this file format; give --format and --subtype");
}

} // namespace vr58::tool
