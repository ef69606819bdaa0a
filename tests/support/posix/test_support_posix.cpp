// The scratch-folder clean-up and the helpers that need POSIX: immutable
// files, dropped privileges, FIFOs and devices, forked children.
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "support/test_support.h"

namespace lumbrel::test {

std::filesystem::path pathFromUtf8(const std::string& path) { return path; }  // bytes as they are

bool makeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link, std::string& error) {
    std::error_code code;
    std::filesystem::create_directory_symlink(target, link, code);
    if (code) error = code.message();
    return !code;
}

namespace {

bool setImmutable(const std::filesystem::path& item, bool on) {
    const int fd = ::open(item.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

}  // namespace

bool lockFolder(const std::filesystem::path& folder) {
    if (::geteuid() == 0) return setImmutable(folder, true);
    std::error_code error;
    std::filesystem::permissions(folder,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove, error);
    return !error;
}

void unlockFolder(const std::filesystem::path& folder) {
    if (::geteuid() == 0) setImmutable(folder, false);
    std::error_code ignored;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
}

bool lockFile(const std::filesystem::path& file) {
    if (::geteuid() == 0) return setImmutable(file, true);
    std::error_code error;
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove, error);
    return !error;
}

void unlockFile(const std::filesystem::path& file) {
    if (::geteuid() == 0) setImmutable(file, false);
    std::error_code ignored;
    std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add,
                                 ignored);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Give back write permission that a test may have taken away.
    unlockFolder(path_);
    for (auto it = std::filesystem::recursive_directory_iterator(
             path_, std::filesystem::directory_options::skip_permission_denied, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_symlink(ignored)) continue;
        if (it->is_directory(ignored)) {
            unlockFolder(it->path());
        } else if (it->is_regular_file(ignored) && ::geteuid() == 0) {
            setImmutable(it->path(), false);  // a locked file could not be removed
        }
    }
    std::filesystem::remove_all(path_, ignored);
}

WithoutRootPrivileges::WithoutRootPrivileges() {
    if (::geteuid() == 0) {
        dropped_ = ::seteuid(65534) == 0;
        ok_ = dropped_;
    }
}

WithoutRootPrivileges::~WithoutRootPrivileges() {
    if (dropped_ && ::seteuid(0) != 0) std::abort();
}

bool makeNonFile(NonFile kind, const std::string& path) {
    switch (kind) {
        case NonFile::Fifo: return ::mkfifo(path.c_str(), 0666) == 0;
        case NonFile::Folder: return ::mkdir(path.c_str(), 0777) == 0;
        case NonFile::Device:
            // 1,5 is /dev/zero on Linux.
            if (::geteuid() == 0 && ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0) return true;
            return ::symlink("/dev/zero", path.c_str()) == 0;
    }
    return false;
}

int runBounded(std::chrono::milliseconds limit, const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        int code = 255;
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 || std::chrono::steady_clock::now() > deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return -1;
}

bool finishesWithin(std::chrono::milliseconds limit, const std::function<bool()>& work) {
    return runBounded(limit, [&] { return work() ? 0 : 1; }) == 0;
}

bool makeReadOnly(const std::string& path) { return ::chmod(path.c_str(), 0444) == 0; }

DocumentsFolderRedirect::DocumentsFolderRedirect() {
    const char* value = std::getenv("XDG_CONFIG_HOME");
    hadValue_ = value != nullptr;
    if (value != nullptr) saved_ = value;
    ::setenv("XDG_CONFIG_HOME", config_.text().c_str(), 1);
}

DocumentsFolderRedirect::~DocumentsFolderRedirect() {
    if (hadValue_) {
        ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

bool DocumentsFolderRedirect::set(const std::string& folder) {
    if (folder.find_first_of("\"\\\n") != std::string::npos) return false;  // kept plain: no escapes
    writeFile(config_.file("user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"" + folder + "\"\n");
    return true;
}

}  // namespace lumbrel::test
