#include "fuzz_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace vr58::fuzz {

void fail(const char* what) {
    std::fprintf(stderr, "fuzz expectation failed: %s\n", what);
    std::abort();
}

MemoryFile::MemoryFile(const uint8_t* data, size_t size) {
    fd_ = memfd_create("vr58-fuzz", MFD_CLOEXEC);
    expect(fd_ >= 0, "memfd_create");
    for (size_t written = 0; written < size;) {
        const ssize_t n = ::write(fd_, data + written, size - written);
        expect(n > 0, "write to the memory file");
        written += static_cast<size_t>(n);
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    ::close(fd_);
}

} // namespace vr58::fuzz
