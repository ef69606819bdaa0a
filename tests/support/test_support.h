// Shared helpers of the unit tests: scratch folders and whole-file access.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumbrel::test {

// A fresh folder under the temporary folder, removed with everything in it
// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Makes a folder unwritable, even for root (CI runs as root, which ignores
// permission bits; the immutable flag of the file system holds for it too).
// False when the file system cannot do it. `unlockFolder` undoes it.
bool lockFolder(const std::filesystem::path& folder);
void unlockFolder(const std::filesystem::path& folder);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, std::string_view bytes);

// A path inside the source tree (resources, samples).
std::string sourcePath(std::string_view relative);

}  // namespace lumbrel::test
