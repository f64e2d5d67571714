#include "pending_output.h"

#include "cli_error.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

// The one temporary file in progress, removed by the signal handler if the user interrupts the run.
char gInterruptedPath[4096];
std::atomic<bool> gHandlersInstalled{false};

extern "C" void removeOnSignal(int signal) {
    if (gInterruptedPath[0] != '\0') unlink(gInterruptedPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void watchForInterrupts(const std::string& path) {
    if (!gHandlersInstalled.exchange(true)) {
        std::signal(SIGINT, removeOnSignal);
        std::signal(SIGTERM, removeOnSignal);
    }
    if (path.size() < sizeof gInterruptedPath) std::memcpy(gInterruptedPath, path.c_str(), path.size() + 1);
}

// Temporaries of this target left by a run that was killed outright (kill -9, a crash), which no handler
// could remove: their process is gone, so nobody writes them any more.
void removeStaleTemporaries(const fs::path& folder, const std::string& fileName) {
    const std::string prefix = "." + fileName + ".vr58-";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        const long pid = std::strtol(digits.c_str(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            fs::remove(entry.path(), ec);
    }
}

} // namespace

PendingOutput::PendingOutput(const std::string& target) : target_(target) {
    const fs::path path(target);
    std::error_code ec;
    if (path.filename().empty()) throw CliError(target, "not a file name");
    if (fs::is_directory(path, ec)) throw CliError(target, "is a directory");
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (!fs::is_directory(folder, ec))
        throw CliError(target, "cannot write: folder " + folder.string() + " does not exist");
    removeStaleTemporaries(folder, path.filename().string());
    // Hidden and unique per process, in the target's own folder so the final rename stays on one file system.
    temporary_ =
        (folder / ("." + path.filename().string() + ".vr58-" + std::to_string(getpid()) + ".tmp")).string();
    watchForInterrupts(temporary_);
}

PendingOutput::~PendingOutput() {
    if (!committed_) std::remove(temporary_.c_str());
    gInterruptedPath[0] = '\0';
}

void PendingOutput::commit() {
    std::error_code ec;
    fs::rename(temporary_, target_, ec);
    if (ec) throw CliError(target_, "cannot write: " + ec.message());
    committed_ = true;
}

void writeWholeFile(PendingOutput& output, const void* bytes, size_t size) {
    const auto fail = [&](int error) {
        std::string reason = std::error_code(error, std::generic_category()).message();
        if (!reason.empty())
            reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
        throw CliError(output.target(), "cannot write (" + reason + ")");
    };
    const int fd = ::open(output.temporaryPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) fail(errno);
    const char* next = static_cast<const char*>(bytes);
    size_t left = size;
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            ::close(fd);
            fail(error);
        }
        next += written;
        left -= static_cast<size_t>(written);
    }
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
    if (::close(fd) != 0) fail(errno);
}

bool makeOutputFolder(const std::string& path) {
    std::error_code ec;
    const bool existed = fs::is_directory(path, ec);
    fs::create_directories(path, ec);
    if (ec || !fs::is_directory(path))
        throw CliError(path, "cannot create the folder" + (ec ? " (" + ec.message() + ")" : std::string()));
    return !existed;
}

} // namespace vr58::tool
