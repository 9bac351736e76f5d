// Helpers of the fuzz targets: a private folder for the files they read and
// write, and a way to stop with a message when an invariant does not hold.
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

} // namespace alborx::fuzz
