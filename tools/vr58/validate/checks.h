// The validator's checks. Each loads the plug-in binary afresh as often as it needs and reports its cases.
#pragma once

#include "check.h"

#include <iosfwd>
#include <string>

namespace vr58::validate {

struct Target {
    std::string plugin; // path of the binary
    uint32_t seed = 1;
};

// 1000 create/open/close cycles, 33 live instances with identical output, suspend/resume cycles.
void checkLifecycle(const Target& target, Check& check);
// Every opcode 0..80 and odd ones with null, zeroed, 0xFF and canary buffers; string limits.
void checkDispatcher(const Target& target, const Budget& budget, Check& check);
// Non-finite, huge, subnormal and negative-zero values and out-of-range indices.
void checkParameters(const Target& target, const Budget& budget, Check& check);
// Null, random and non-finite chunks of 0 bytes to 1 MB; round trips.
void checkChunks(const Target& target, const Budget& budget, Check& check);
// Sample rates 1 Hz to 768 kHz (and invalid ones) times block sizes 0 to 16384 times test signals.
void checkAudioRange(const Target& target, Check& check, Check& allocations);
// Non-finite and huge input samples: finite output again from the next block on.
void checkRecovery(const Target& target, Check& check);
// Parameter and sample-rate changes from a second thread while processing.
void checkThreads(const Target& target, const Budget& budget, Check& check);
// Processing for the given time with automation from a second thread, sample-rate and block-size changes,
// state saves and loads and editor opens and closes from a third; reports resident memory at start and end.
void checkSoak(const Target& target, double seconds, Check& check, std::ostream& out);
// Processing time of silence after a loud passage, against the loud passage itself.
void checkDenormalCost(const Target& target, Check& check);

} // namespace vr58::validate
