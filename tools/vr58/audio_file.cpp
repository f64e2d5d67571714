#include "audio_file.h"

#include "cli_error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

const std::map<std::string, int> kContainers = {{"wav", SF_FORMAT_WAV},
                                                {"flac", SF_FORMAT_FLAC},
                                                {"aiff", SF_FORMAT_AIFF},
                                                {"aif", SF_FORMAT_AIFF},
                                                {"ogg", SF_FORMAT_OGG}};

const std::map<std::string, int> kSubtypes = {{"pcm16", SF_FORMAT_PCM_16},  {"pcm24", SF_FORMAT_PCM_24},
                                              {"pcm32", SF_FORMAT_PCM_32},  {"float", SF_FORMAT_FLOAT},
                                              {"double", SF_FORMAT_DOUBLE}, {"vorbis", SF_FORMAT_VORBIS}};

bool isPlainSampleFormat(int subtype) {
    return isIntegerSampleFormat(subtype) || subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
}

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
    // libsndfile says a file it cannot open is missing or not audio; the system says why it cannot be read.
    if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        std::string reason = std::error_code(errno, std::generic_category()).message();
        if (!reason.empty())
            reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
        throw CliError(path, "cannot be read (" + reason + ")");
    }
    SF_INFO info{};
    file_ = sf_open(path.c_str(), SFM_READ, &info);
    // libsndfile's reason for a file it cannot decode speaks of a missing file; this one exists.
    if (!file_)
        throw CliError(path,
                       "cannot be read: not an audio file of a format vr58 reads (WAV, FLAC, AIFF, Ogg, "
                       "MP3 and the others of libsndfile)");
    info_ = {info.format, info.channels, info.samplerate, static_cast<long long>(info.frames)};
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file_);
        file_ = nullptr;
        throw CliError(path, "audio file without channels or sample rate");
    }
    // A cut file: libsndfile reads what is there and notes "data : <header's size> (should be <real>)".
    char log[4096] = {};
    sf_command(file_, SFC_GET_LOG_INFO, log, sizeof log);
    for (const char* line = log; *line; line = std::strchr(line, '\n') ? std::strchr(line, '\n') + 1 : "") {
        long long said = 0, real = 0;
        if ((std::sscanf(line, "data : %lld (should be %lld)", &said, &real) == 2 ||
             std::sscanf(line, "SSND : %lld (should be %lld)", &said, &real) == 2) &&
            real > 0 && said > real)
            claimedSeconds_ = static_cast<double>(info_.frames) * static_cast<double>(said) /
                              static_cast<double>(real) / info_.sampleRate;
    }
}

std::string AudioReader::shortfall() const {
    if (claimedSeconds_ == 0.0) return {};
    char text[160];
    std::snprintf(text, sizeof text,
                  "the header says %.2f s, the file holds %.2f s; rendered the %lld frames it holds",
                  claimedSeconds_, static_cast<double>(info_.frames) / info_.sampleRate, info_.frames);
    return text;
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
    // The PEAK chunk of float WAV and AIFF files carries the time of writing: without it two renders of
    // one file with one noise seed are equal to the bit.
    sf_command(file_, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
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
    const std::string extension = lowerExtension(target);
    const auto byExtension = kContainers.find(extension);
    if (byExtension == kContainers.end())
        throw UsageError(target, (extension.empty() ? std::string("has no extension")
                                                    : "cannot be written as a ." + extension + " file") +
                                     "; name it .wav, .flac, .aiff or .ogg");
    const int container = byExtension->second;
    if (format && kContainers.at(*format) != container)
        throw UsageError("--format", *format + " does not match the output's extension ." + extension +
                                         "; the extension sets the format");
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
            throw UsageError("--subtype",
                             *subtype + " samples cannot be stored in a ." + extension + " file");
        return chosen;
    }
    if (container == SF_FORMAT_OGG) return container | SF_FORMAT_VORBIS;
    // The input's sample format when it is plain PCM or float and the output holds it (a compressed
    // input's coding never is), else 24-bit PCM.
    const int kept = input.format & SF_FORMAT_SUBMASK;
    if (isPlainSampleFormat(kept) && fits(container | kept)) return container | kept;
    return container | SF_FORMAT_PCM_24;
}

bool isIntegerSampleFormat(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
        return true;
    default:
        return false;
    }
}

double ditherStep(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return 1.0 / 128.0;
    case SF_FORMAT_PCM_16:
        return 1.0 / 32768.0;
    default:
        return 0.0;
    }
}

std::string sampleFormatName(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return "8-bit PCM";
    case SF_FORMAT_PCM_16:
        return "16-bit PCM";
    case SF_FORMAT_PCM_24:
        return "24-bit PCM";
    case SF_FORMAT_PCM_32:
        return "32-bit PCM";
    case SF_FORMAT_FLOAT:
        return "32-bit float";
    case SF_FORMAT_DOUBLE:
        return "64-bit float";
    case SF_FORMAT_VORBIS:
        return "Vorbis";
    default:
        return "its sample format";
    }
}

} // namespace vr58::tool
