// What the fuzz targets share: a failed expectation aborts (libFuzzer keeps the input), and bytes become a
// file only in memory, for readers that take a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vr58::fuzz {

[[noreturn]] void fail(const char* what);
inline void expect(bool condition, const char* what) {
    if (!condition) fail(what);
}

// An anonymous file in memory holding the bytes; path() names it for open() until it goes out of scope.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

} // namespace vr58::fuzz
