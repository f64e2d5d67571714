#include "resident_memory.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>
#else
#include <unistd.h>

#include <cstdio>
#endif

namespace vr58::validate {

int64_t residentBytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<int64_t>(counters.WorkingSetSize);
#else
    // statm: total and resident pages.
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return -1;
    long long total = 0, resident = 0;
    const bool read = std::fscanf(statm, "%lld %lld", &total, &resident) == 2;
    std::fclose(statm);
    return read ? resident * static_cast<int64_t>(sysconf(_SC_PAGESIZE)) : -1;
#endif
}

} // namespace vr58::validate
