// An output file that appears only when complete: data goes to a temporary file beside the target,
// which is renamed over the target on commit and removed on failure, destruction or Ctrl-C.
#pragma once

#include <string>

namespace vr58::tool {

class PendingOutput {
public:
    // Checks that the target can be written (its folder exists, it is not a folder) and picks the
    // temporary name; throws CliError naming the target.
    explicit PendingOutput(const std::string& target);
    ~PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    const std::string& temporaryPath() const { return temporary_; }
    const std::string& target() const { return target_; }
    // Moves the finished temporary file onto the target; throws CliError when that fails.
    void commit();

private:
    std::string target_;
    std::string temporary_;
    bool committed_ = false;
};

// Writes bytes as the whole of the output's temporary file and syncs it to disk, so that a full disk is
// found before commit, not after; throws CliError naming the target and the system's reason.
void writeWholeFile(PendingOutput& output, const void* bytes, size_t size);

// Makes an output folder and its parents; throws CliError naming the folder when it cannot be made.
// Returns whether it made the folder.
bool makeOutputFolder(const std::string& path);

} // namespace vr58::tool
