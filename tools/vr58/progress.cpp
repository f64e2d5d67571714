#include "progress.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace vr58::tool {

namespace {
constexpr int kWidth = 40;
}

ProgressBar::ProgressBar(long long totalFrames) : visible_(isatty(STDERR_FILENO) == 1), total_(totalFrames) {}

ProgressBar::~ProgressBar() {
    // Clear the bar so that a following message starts on a clean line.
    if (visible_ && lastPercent_ >= 0) std::fprintf(stderr, "\r%*s\r", kWidth + 8, "");
}

void ProgressBar::update(size_t framesDone) {
    if (!visible_ || total_ <= 0) return;
    const long long done =
        static_cast<long long>(framesDone) < total_ ? static_cast<long long>(framesDone) : total_;
    const int percent = static_cast<int>(done * 100 / total_);
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(kWidth - filled), ' ').c_str(), percent);
    std::fflush(stderr);
}

} // namespace vr58::tool
