// A one-line progress bar on stderr, shown only when stderr is a terminal.
#pragma once

#include <cstddef>

namespace vr58::tool {

class ProgressBar {
public:
    explicit ProgressBar(long long totalFrames);
    ~ProgressBar();
    void update(size_t framesDone);

private:
    bool visible_;
    long long total_;
    int lastPercent_ = -1;
};

} // namespace vr58::tool
