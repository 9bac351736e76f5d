#include "safefile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace alborx {

namespace {

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

WriteFault pendingFault = WriteFault::None;

bool writeAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// A name in path's folder that no other file has yet. It is short, so that it
// fits even where the target's own name is as long as a name can be.
std::string unusedNameBeside(const std::string& path)
{
    static unsigned counter = 0;
    const std::string prefix = folderOf(path) + "/.alborx-" + std::to_string(::getpid()) + "-";
    std::string candidate;
    struct stat info
    {
    };
    do {
        candidate = prefix + std::to_string(++counter) + ".tmp";
    } while (::lstat(candidate.c_str(), &info) == 0);
    return candidate;
}

// Creates a new file in path's folder that no other writer uses.
int createTemporary(const std::string& path, std::string& tempPath)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = unusedNameBeside(path);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void syncFolder(const std::string& path)
{
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Keeps the file at path under backupPath. A hard link leaves the file itself
// in place until the new version replaces it in one step; where the file
// system has no links, the file is renamed, and restoreFromBackup is set so
// that a failed final rename can put it back.
void makeBackup(const std::string& path, const std::string& backupPath, bool& restoreFromBackup)
{
    const std::string linkPath = unusedNameBeside(backupPath);
    if (::link(path.c_str(), linkPath.c_str()) == 0) {
        if (::rename(linkPath.c_str(), backupPath.c_str()) != 0)
            ::unlink(linkPath.c_str());
        return;
    }
    ::unlink(backupPath.c_str());
    restoreFromBackup = ::rename(path.c_str(), backupPath.c_str()) == 0;
}

} // namespace

SafeFileWriter::SafeFileWriter(const std::string& path) : path_(path)
{
    fault_ = std::exchange(pendingFault, WriteFault::None);

    // Only a regular file is replaced: a folder of that name stays untouched.
    struct stat previous
    {
    };
    targetExists_ = ::stat(path.c_str(), &previous) == 0;
    if (targetExists_ && !S_ISREG(previous.st_mode))
        return;
    fd_ = createTemporary(path, tempPath_);
    if (fd_ < 0)
        return;
    // The new file keeps the permissions of the one it replaces.
    ok_ = !targetExists_ || ::fchmod(fd_, previous.st_mode & 07777) == 0;
}

SafeFileWriter::~SafeFileWriter()
{
    discard();
}

void SafeFileWriter::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    ok_ = false;
}

bool SafeFileWriter::write(const void* data, std::size_t size)
{
    if (!ok_)
        return false;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (fault_ == WriteFault::FirstWrite || fault_ == WriteFault::Middle) {
        // The disk fills up: at once, or after half of this write.
        if (fault_ == WriteFault::Middle)
            writeAll(fd_, bytes, size / 2);
        ok_ = false;
        return false;
    }
    ok_ = writeAll(fd_, bytes, size);
    return ok_;
}

bool SafeFileWriter::commit(const std::string& backupPath)
{
    if (!ok_) {
        discard();
        return false;
    }
    // A full disk often shows only when the data reaches it.
    bool ok = ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && fault_ != WriteFault::Close && ok;
    fd_ = -1;
    if (!ok) {
        discard();
        return false;
    }

    bool restoreFromBackup = false;
    if (targetExists_ && !backupPath.empty())
        makeBackup(path_, backupPath, restoreFromBackup);
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        discard();
        if (restoreFromBackup)
            ::rename(backupPath.c_str(), path_.c_str());
        return false;
    }
    tempPath_.clear();
    ok_ = false;
    syncFolder(path_);
    return true;
}

bool writeFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     const std::string& backupPath)
{
    SafeFileWriter file(path);
    file.write(bytes.data(), bytes.size());
    return file.commit(backupPath);
}

void injectWriteFault(WriteFault fault)
{
    pendingFault = fault;
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return false;
    }
    std::uint8_t buffer[65536];
    bool ok = true;
    while (bytes.size() < maxBytes) {
        const std::size_t wanted = std::min(sizeof buffer, maxBytes - bytes.size());
        const ssize_t got = ::read(fd, buffer, wanted);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (got == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    ::close(fd);
    return ok;
}

} // namespace alborx
