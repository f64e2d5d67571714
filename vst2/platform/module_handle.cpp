#include "vst2/platform/module_handle.h"

namespace vr58 {
void* moduleHandle = nullptr;
}
