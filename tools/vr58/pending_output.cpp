#include "pending_output.h"

#include "engine/cli_error.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
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

} // namespace

PendingOutput::PendingOutput(const std::string& target) : target_(target) {
    const fs::path path(target);
    std::error_code ec;
    if (path.filename().empty()) throw CliError(target, "not a file name");
    if (fs::is_directory(path, ec)) throw CliError(target, "is a directory");
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (!fs::is_directory(folder, ec))
        throw CliError(target, "cannot write: folder " + folder.string() + " does not exist");
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

void makeOutputFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec || !fs::is_directory(path))
        throw CliError(path, "cannot create the folder" + (ec ? " (" + ec.message() + ")" : std::string()));
}

} // namespace vr58::tool
