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
    // The folder's path as UTF-8 text, the form the module takes paths in.
    std::string text() const {
        const std::u8string utf8 = path_.u8string();
        return std::string(utf8.begin(), utf8.end());
    }

private:
    std::filesystem::path path_;
};

// Makes a folder unwritable, even for root (CI runs as root, which ignores
// permission bits; the immutable flag of the file system holds for it too).
// False when the file system cannot do it. `unlockFolder` undoes it.
bool lockFolder(const std::filesystem::path& folder);
void unlockFolder(const std::filesystem::path& folder);
// The same for one file: no process may write it while it is locked.
bool lockFile(const std::filesystem::path& file);
void unlockFile(const std::filesystem::path& file);

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

// Things at a path that are no regular files: reading one may block for
// ever (a FIFO without a writer) or never end (a device).
enum class NonFile { Fifo, Folder, Device };
inline constexpr NonFile kNonFiles[] = {NonFile::Fifo, NonFile::Folder, NonFile::Device};
const char* nonFileName(NonFile kind);
// Makes one at `path`. The device reads as endless zeros: a node of its own
// as root, else a link to /dev/zero. False when it cannot be made.
bool makeNonFile(NonFile kind, const std::string& path);

// Takes the write permission (POSIX) or sets the read-only attribute
// (Windows) of the file at `path` (UTF-8); false when that failed.
bool makeReadOnly(const std::string& path);

// Makes `link`, a symbolic link to the folder `target`; false with the
// system's reason in `error` when the file system or the process cannot.
bool makeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link, std::string& error);

// Runs `body` in a forked child and answers what it returned (0..255), or
// -1 when the child did not end within `limit` (it is killed then) or ended
// otherwise. A regression that blocks then fails its test instead of
// hanging the suite.
int runBounded(std::chrono::milliseconds limit, const std::function<int()>& body);
// runBounded for a yes/no body: true when it answered true in time.
bool finishesWithin(std::chrono::milliseconds limit, const std::function<bool()>& work);

// A path given as the module gives it, UTF-8 text, in the standard
// library's form (on Windows, where narrow text means the ANSI code page,
// converted from UTF-8).
std::filesystem::path pathFromUtf8(const std::string& path);

std::string readFile(const std::string& path);
// Everything written to a temporary stream so far (flushed and read from its start).
std::string streamContents(std::FILE* file);
void writeFile(const std::string& path, std::string_view bytes);

// A path written in the Mac's HFS form ("Disk:Images:a.tif") in the form the
// build itself takes besides POSIX paths: unchanged where HFS paths are
// understood, with the platform's separator elsewhere ("Disk\Images\a.tif"
// on Windows), so that one test states the rule of both builds.
std::string otherPathForm(std::string hfsPath);
// The separator of such paths.
char otherPathSeparator();

// While this object lives, the user's documents folder is the one last
// given to `set` (POSIX: through XDG_DOCUMENTS_DIR of a scratch
// user-dirs.dirs; Windows: through the shell's "Personal" user shell folder).
// The folder need not exist. What was there before comes back at the end.
class DocumentsFolderRedirect {
public:
    DocumentsFolderRedirect();
    ~DocumentsFolderRedirect();
    DocumentsFolderRedirect(const DocumentsFolderRedirect&) = delete;
    DocumentsFolderRedirect& operator=(const DocumentsFolderRedirect&) = delete;
    // False when the system would not take it.
    bool set(const std::string& folder);

private:
    TempDir config_;
    std::string saved_;
    bool hadValue_ = false;
};

// A path inside the source tree (resources, samples).
std::string sourcePath(std::string_view relative);

}  // namespace lumbrel::test
