// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers to look at the bytes of files in it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace alborx::test {

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool fileExists(const std::string& path);

} // namespace alborx::test
