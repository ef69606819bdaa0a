// PNG pictures through rsvg-convert, run without a shell.
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "svg_to_png.h"

extern char** environ;

namespace desktop::windows {

namespace {

// Runs rsvg-convert without a shell on an SVG file; the PNG it writes to
// its standard output, nothing when it fails.
std::optional<std::string> convertToPng(const std::string& svgPath) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::string program = "rsvg-convert";
    std::string format = "--format=png";
    std::string input = svgPath;
    char* arguments[] = {program.data(), format.data(), input.data(), nullptr};
    pid_t child = 0;
    const bool started = ::posix_spawnp(&child, "rsvg-convert", &actions, nullptr, arguments, environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::string png;
    char buffer[65536];
    for (ssize_t got = 0; started && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0) png.append(buffer, static_cast<std::size_t>(got));
        else if (errno != EINTR) break;
    }
    ::close(pipeEnds[0]);
    if (!started) return std::nullopt;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return std::nullopt;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return png;
}

// The SVG in a new file of a unique name in the temporary folder; its path,
// nothing when it cannot be written.
std::optional<std::string> temporarySvg(const std::string& svg) {
    std::error_code ignored;
    std::string path = (std::filesystem::temp_directory_path(ignored) / "lumbrel-window-XXXXXX.svg").string();
    const int fd = ::mkostemps(path.data(), 4, O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string_view rest = svg;
    bool ok = true;
    while (ok && !rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written > 0) rest.remove_prefix(static_cast<std::size_t>(written));
        else ok = written < 0 && errno == EINTR;
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(path.c_str());
    return ok ? std::optional<std::string>(path) : std::nullopt;
}

}  // namespace

std::optional<std::string> svgToPng(const std::string& svg) {
    const std::optional<std::string> temporary = temporarySvg(svg);
    if (!temporary) return std::nullopt;
    std::optional<std::string> png = convertToPng(*temporary);
    ::unlink(temporary->c_str());
    return png;
}

}  // namespace desktop::windows
