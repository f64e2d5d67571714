// The resident memory of this process, for the soak's report.
#pragma once

#include <cstdint>

namespace vr58::validate {

// Bytes of this process in physical memory; -1 where the system does not tell.
int64_t residentBytes();

} // namespace vr58::validate
