// Shared helpers of the unit tests: scratch folders and whole-file access.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
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

// Permission bits do not stop root, and CI runs as root: while this object
// lives, the process acts as the user "nobody" (effective id only; the real
// id stays root and takes the privileges back). ok() is false when the
// switch failed.
class WithoutRootPrivileges {
public:
    WithoutRootPrivileges();
    ~WithoutRootPrivileges();
    WithoutRootPrivileges(const WithoutRootPrivileges&) = delete;
    WithoutRootPrivileges& operator=(const WithoutRootPrivileges&) = delete;
    bool ok() const { return ok_; }

private:
    bool dropped_ = false;
    bool ok_ = true;
};

// Runs `work` in a child process and waits at most `limit` for it: true
// when it returned true in time. A child that takes longer is killed, so a
// test of something that used to hang fails instead of hanging.
bool finishesWithin(std::chrono::milliseconds limit, const std::function<bool()>& work);

std::string readFile(const std::string& path);
// Everything written to a temporary stream so far (flushed and read from its start).
std::string streamContents(std::FILE* file);
void writeFile(const std::string& path, std::string_view bytes);

// A path inside the source tree (resources, samples).
std::string sourcePath(std::string_view relative);

}  // namespace lumbrel::test
