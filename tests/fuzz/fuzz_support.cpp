#include "fuzz_support.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sanitizer/allocator_interface.h>
#include <unistd.h>

namespace alborx::fuzz {

namespace {

// The allocator tells these hooks of every allocation and free; they count
// only while a MemoryBound watches. Memory allocated before and freed while
// watching lowers the count, so the peak is never overstated.
bool watching = false;
long long held = 0;
long long peak = 0;

void allocated(const volatile void*, std::size_t size)
{
    if (!watching)
        return;
    held += static_cast<long long>(size);
    peak = std::max(peak, held);
}

void freed(const volatile void* pointer)
{
    if (watching && pointer != nullptr)
        held -= static_cast<long long>(
            __sanitizer_get_allocated_size(const_cast<const void*>(pointer)));
}

} // namespace

MemoryBound::MemoryBound(std::size_t inputSize)
    : bound_(kBytesPerInputByte * static_cast<long long>(inputSize) + kFixedBytes)
{
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(allocated, freed) != 0;
    check(installed, "cannot watch the allocator");
    held = 0;
    peak = 0;
    watching = true;
}

MemoryBound::~MemoryBound()
{
    watching = false;
    if (peak > bound_) {
        std::fprintf(stderr, "%lld bytes held at once, over the bound of %lld\n", peak, bound_);
        fail("an input took memory out of proportion to its size");
    }
}

const std::string& scratchFolder()
{
    static const std::string folder = [] {
        const std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/alborx-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            fail("cannot make a scratch folder");
        return pattern;
    }();
    return folder;
}

std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = scratchFolder() + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fail("cannot write a scratch file");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written <= 0)
            fail("cannot write a scratch file");
        done += static_cast<std::size_t>(written);
    }
    ::close(fd);
    return path;
}

} // namespace alborx::fuzz
