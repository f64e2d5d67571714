// Filter states decaying on silence turn subnormal and make every operation on them many times slower;
// while a process call runs, the SSE unit flushes them to zero. The caller's control word comes back on
// return. Results for normal-range signals are unchanged.
#pragma once

#include <xmmintrin.h>

namespace vr58 {

class DenormalGuard {
public:
    DenormalGuard() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero); }
    ~DenormalGuard() { _mm_setcsr(saved_); }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved_;
};

} // namespace vr58
