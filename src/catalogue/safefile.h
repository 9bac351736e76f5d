// Writing whole files so that a failure (a read-only folder, a full disk)
// never damages what was there before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace alborx {

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

// A seam for tests: the next writeFileSafely fails as a full disk would, at
// its first write, halfway through its data, or when the file is closed.
enum class WriteFault
{
    None,
    FirstWrite,
    Middle,
    Close
};
void injectWriteFault(WriteFault fault);

} // namespace alborx
