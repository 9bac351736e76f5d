// Helpers of the fuzz targets: a private folder for the files they read and
// write, a way to stop with a message when an invariant does not hold, and a
// bound on the memory one input may take.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace alborx::fuzz {

// A folder of this process, made once, on a file system in memory when
// there is one.
const std::string& scratchFolder();

// Writes data to a file in the scratch folder and returns its path.
std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size);

[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void check(bool holds, const char* what)
{
    if (!holds)
        fail(what);
}

// Holds one input to a memory bound proportional to its size: while it
// lives, the bytes allocated and not yet freed may grow by at most
// kBytesPerInputByte for each byte of the input, plus kFixedBytes for the
// fixed buffers of the readers (a parser's piece, a zip stream). Checked
// when it goes out of scope.
class MemoryBound
{
public:
    static constexpr long long kBytesPerInputByte = 256;
    static constexpr long long kFixedBytes = 16LL << 20;

    explicit MemoryBound(std::size_t inputSize);
    ~MemoryBound();
    MemoryBound(const MemoryBound&) = delete;
    MemoryBound& operator=(const MemoryBound&) = delete;

private:
    long long bound_;
};

} // namespace alborx::fuzz
