#include "safefile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
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
// that a failed final rename can put it back. Returns false when no backup
// could be made; the file at path is then where it was.
bool makeBackup(const std::string& path, const std::string& backupPath, bool& restoreFromBackup)
{
    const std::string linkPath = unusedNameBeside(backupPath);
    if (::link(path.c_str(), linkPath.c_str()) == 0) {
        if (::rename(linkPath.c_str(), backupPath.c_str()) == 0)
            return true;
        ::unlink(linkPath.c_str());
        return false;
    }
    struct stat info
    {
    };
    if (::lstat(backupPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return false;
    ::unlink(backupPath.c_str());
    restoreFromBackup = ::rename(path.c_str(), backupPath.c_str()) == 0;
    return restoreFromBackup;
}

// The file a path leads to: symbolic links are followed, also one that leads
// to a file not made yet. A loop of links leaves the path as it is.
std::string followLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info
        {
        };
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(4096, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
            return current;
        target.resize(static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : folderOf(current) + "/" + target;
    }
    return path;
}

// The temporary names are ".alborx-PID-N.tmp"; returns PID, or 0 for another
// name.
pid_t temporaryOwner(std::string_view name)
{
    constexpr std::string_view prefix = ".alborx-";
    constexpr std::string_view suffix = ".tmp";
    if (!name.starts_with(prefix) || !name.ends_with(suffix))
        return 0;
    const char* const end = name.data() + name.size() - suffix.size();
    pid_t pid = 0;
    unsigned number = 0;
    const auto [dash, pidError] = std::from_chars(name.data() + prefix.size(), end, pid);
    if (pidError != std::errc() || dash == end || *dash != '-')
        return 0;
    const auto [last, numberError] = std::from_chars(dash + 1, end, number);
    return numberError == std::errc() && last == end ? pid : 0;
}

} // namespace

SafeFileWriter::SafeFileWriter(const std::string& path) : path_(followLinks(path))
{
    fault_ = std::exchange(pendingFault, WriteFault::None);

    // Only a regular file is replaced: a folder, a FIFO or a device of that
    // name stays untouched.
    struct stat previous
    {
    };
    targetExists_ = ::stat(path_.c_str(), &previous) == 0;
    if (targetExists_ && !S_ISREG(previous.st_mode)) {
        fail(WriteError::NotAFile);
        return;
    }
    // Renaming over a read-only file would succeed in a writable folder.
    if (targetExists_ && ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0) {
        fail(WriteError::ReadOnly);
        return;
    }
    fd_ = createTemporary(path_, tempPath_);
    if (fd_ < 0) {
        fail(WriteError::CannotCreate);
        return;
    }
    // The new file keeps the permissions of the one it replaces.
    ok_ = !targetExists_ || ::fchmod(fd_, previous.st_mode & 07777) == 0;
    if (!ok_)
        fail(WriteError::CannotCreate);
}

SafeFileWriter::~SafeFileWriter()
{
    discard();
}

void SafeFileWriter::fail(WriteError error)
{
    if (error_ == WriteError::None)
        error_ = error;
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
        error_ = WriteError::WriteFailed;
        return false;
    }
    ok_ = writeAll(fd_, bytes, size);
    if (!ok_)
        error_ = WriteError::WriteFailed;
    return ok_;
}

bool SafeFileWriter::commit(bool keepBackup)
{
    if (!ok_) {
        fail(error_ == WriteError::None ? WriteError::WriteFailed : error_);
        return false;
    }
    // A full disk often shows only when the data reaches it.
    bool ok = ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && fault_ != WriteFault::Close && ok;
    fd_ = -1;
    if (!ok) {
        fail(WriteError::WriteFailed);
        return false;
    }

    const WriteError placed = putFileInPlace(tempPath_, path_, keepBackup && targetExists_);
    if (placed != WriteError::None) {
        fail(placed);
        return false;
    }
    tempPath_.clear();
    ok_ = false;
    return true;
}

std::string temporaryPathBeside(const std::string& path)
{
    return unusedNameBeside(followLinks(path));
}

WriteError putFileInPlace(const std::string& written, const std::string& path, bool keepBackup)
{
    bool restoreFromBackup = false;
    const std::string backupPath = path + ".bak";
    struct stat info
    {
    };
    if (keepBackup && ::lstat(path.c_str(), &info) == 0 &&
        !makeBackup(path, backupPath, restoreFromBackup))
        return WriteError::NoBackup;
    if (::rename(written.c_str(), path.c_str()) != 0) {
        if (restoreFromBackup)
            ::rename(backupPath.c_str(), path.c_str());
        return WriteError::CannotReplace;
    }
    syncFolder(path);
    return WriteError::None;
}

WriteError writeFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                           bool keepBackup)
{
    SafeFileWriter file(path);
    file.write(bytes.data(), bytes.size());
    file.commit(keepBackup);
    return file.error();
}

void removeStaleTemporaries(const std::string& path)
{
    const std::string folder = folderOf(followLinks(path));
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return;
    while (const dirent* entry = ::readdir(entries)) {
        const pid_t owner = temporaryOwner(entry->d_name);
        if (owner <= 0 || owner == ::getpid())
            continue;
        // A process that still runs may still be saving.
        if (::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        const std::string stale = folder + "/" + entry->d_name;
        struct stat info
        {
        };
        if (::lstat(stale.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(stale.c_str());
    }
    ::closedir(entries);
}

void injectWriteFault(WriteFault fault)
{
    pendingFault = fault;
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes,
                   Progress* progress)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    const std::size_t expected =
        std::min(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)), maxBytes);
    bytes.reserve(expected);
    constexpr int kProgressSteps = 1000;
    if (progress)
        progress->setMaximum(kProgressSteps);
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
        if (progress) {
            progress->setPosition(
                static_cast<int>(std::min(bytes.size(), expected) * kProgressSteps /
                                 std::max<std::size_t>(expected, 1)));
            if (progress->cancelled()) {
                ok = false;
                break;
            }
        }
    }
    ::close(fd);
    return ok;
}

} // namespace alborx
