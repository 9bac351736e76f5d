// Writing whole files so that a failure (a read-only folder, a full disk)
// never damages what was there before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace alborx {

// A seam for tests: the next safe write fails as a full disk would, at its
// first write, halfway through its first write, or when the file is closed.
enum class WriteFault
{
    None,
    FirstWrite,
    Middle,
    Close
};

// A file written piece by piece into a temporary file beside its target and
// put in the target's place only by commit(), after every write, the flush
// to disk and the close succeeded. Destroyed without a successful commit, it
// removes the temporary file and leaves the target as it was.
class SafeFileWriter
{
public:
    // Fails (ok() false) when path names something other than a regular file
    // or the temporary file cannot be created.
    explicit SafeFileWriter(const std::string& path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool ok() const { return ok_; }
    // Returns false once any write has failed.
    bool write(const void* data, std::size_t size);
    // Puts the file in place; with a backupPath, a previous file at path is
    // kept under it.
    bool commit(const std::string& backupPath = {});

private:
    void discard();

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    bool ok_ = false;
    bool targetExists_ = false;
    WriteFault fault_ = WriteFault::None;
};

// Writes bytes to a temporary file in the target's folder, checks every write,
// flushes it to disk and only then renames it over path. On failure the
// temporary file is removed, any previous file at path is untouched and false
// is returned. When backupPath is not empty and path already exists, the
// previous file is kept under backupPath, replacing an older backup.
bool writeFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     const std::string& backupPath = {});

// Reads a file, or its first maxBytes bytes. Returns false when it cannot be
// opened or read (a folder cannot).
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::size_t maxBytes = static_cast<std::size_t>(-1));

void injectWriteFault(WriteFault fault);

} // namespace alborx
