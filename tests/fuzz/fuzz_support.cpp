#include "fuzz_support.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace alborx::fuzz {

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
