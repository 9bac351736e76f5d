// Writing whole files so that a failure (a read-only folder, a full disk)
// never damages what was there before.
#pragma once

#include "progress.h"

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

// Why a safe write failed.
enum class WriteError
{
    None,
    NotAFile,     // something other than a regular file has the name
    ReadOnly,     // the file is there but the user may not write it
    CannotCreate, // no temporary file in the folder (read-only, missing)
    WriteFailed,  // a write, the flush or the close failed (a full disk)
    NoBackup,     // the previous file could not be kept as the backup
    CannotReplace // the new file could not take the name
};

// A file written piece by piece into a temporary file beside its target and
// put in the target's place only by commit(), after every write, the flush
// to disk and the close succeeded. Destroyed without a successful commit, it
// removes the temporary file and leaves the target as it was.
//
// A path that is a symbolic link is followed: the file it leads to is the one
// replaced, and its backup lies beside that file, so the link stays a link.
class SafeFileWriter
{
public:
    // Fails (ok() false) when path names something other than a regular file,
    // a file the user may not write, or the temporary file cannot be created.
    explicit SafeFileWriter(const std::string& path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool ok() const { return ok_; }
    WriteError error() const { return error_; }
    // The file that is written: path with its links followed.
    const std::string& target() const { return path_; }
    // Returns false once any write has failed.
    bool write(const void* data, std::size_t size);
    // Puts the file in place. With keepBackup, a previous file is first kept
    // as target() + ".bak"; when that cannot be done nothing is replaced.
    bool commit(bool keepBackup = false);

private:
    void discard();
    void fail(WriteError error);

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    bool ok_ = false;
    bool targetExists_ = false;
    WriteError error_ = WriteError::None;
    WriteFault fault_ = WriteFault::None;
};

// Writes bytes to a temporary file in the target's folder, checks every write,
// flushes it to disk and only then renames it over path. On failure the
// temporary file is removed, any previous file at path is untouched and the
// reason is returned. With keepBackup, a previous file is kept as path +
// ".bak" (beside the real file when path is a link), replacing an older
// backup.
WriteError writeFileSafely(const std::string& path, const std::vector<std::uint8_t>& bytes,
                           bool keepBackup = false);

// A name for a temporary file in path's folder (beside the file a link leads
// to), which removeStaleTemporaries knows.
std::string temporaryPathBeside(const std::string& path);
// Puts a file written beside path in its place by renaming it; with
// keepBackup a previous file at path is kept as path + ".bak" first, and
// when that cannot be done nothing is replaced.
WriteError putFileInPlace(const std::string& written, const std::string& path, bool keepBackup);

// Removes the temporary files that interrupted saves of this program left in
// path's folder, when the process that made them no longer runs.
void removeStaleTemporaries(const std::string& path);

// Reads a regular file, or its first maxBytes bytes. Returns false when it
// cannot be opened or read, or is not a regular file (a folder, a FIFO, a
// device): it is opened without blocking and never waits for a writer.
// The progress, when given, counts thousandths of the file and may stop the
// reading, which then also returns false.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::size_t maxBytes = static_cast<std::size_t>(-1),
                   Progress* progress = nullptr);

void injectWriteFault(WriteFault fault);

} // namespace alborx
