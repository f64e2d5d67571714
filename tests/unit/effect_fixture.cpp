#include "effect_fixture.h"

namespace vr58::testing {

std::vector<RecordedHostCall>& recordedHostCalls() {
    static std::vector<RecordedHostCall> calls;
    return calls;
}

intptr_t recordingHostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void*, float opt) {
    recordedHostCalls().push_back({opcode, index, value, opt});
    return opcode == audioMasterVersion ? 2400 : 1;
}

} // namespace vr58::testing
