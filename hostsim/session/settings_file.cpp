#include "settings_file.h"

#include "desktop/files/file_open.h"
#include "desktop/files/file_replace.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace hostsim::session {

namespace {

struct Line {
    std::string body;
    std::string end;  // "", "\r", "\n" or "\r\n"
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t stop = text.find_first_of("\r\n", pos);
        Line line;
        if (stop == std::string_view::npos) {
            line.body.assign(text.substr(pos));
            pos = text.size();
        } else {
            line.body.assign(text.substr(pos, stop - pos));
            const bool crlf = text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n';
            line.end.assign(text.substr(stop, crlf ? 2 : 1));
            pos = stop + line.end.size();
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string joinLines(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) {
        text += line.body;
        text += line.end;
    }
    return text;
}

bool isEntryOf(const std::string& body, std::string_view key) {
    return body.size() > key.size() && body.compare(0, key.size(), key) == 0 && body[key.size()] == '=';
}

// Index of the header line of the section, or lines.size().
std::size_t findSection(const std::vector<Line>& lines, std::string_view section) {
    const std::string header = "[" + std::string(section) + "]";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].body == header) return i;
    }
    return lines.size();
}

// One past the section's last line.
std::size_t sectionEnd(const std::vector<Line>& lines, std::size_t header) {
    std::size_t i = header + 1;
    while (i < lines.size() && (lines[i].body.empty() || lines[i].body[0] != '[')) ++i;
    return i;
}

// Inserts a line after `index`, giving the line there a line end first when
// it had none (it was the last line): the new line then becomes the last line
// without one, so the text keeps its shape.
void insertAfter(std::vector<Line>& lines, std::size_t index, std::string body, const std::string& lineEnd) {
    Line line{std::move(body), lineEnd};
    if (lines[index].end.empty()) {
        lines[index].end = lineEnd;
        line.end.clear();
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index + 1), std::move(line));
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool readWholeFile(const std::string& path, std::string& text, bool& exists, std::string& error) {
    std::FILE* file = desktop::files::openToRead(path);
    if (file == nullptr) {
        exists = false;
        if (errno == ENOENT) return true;
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    exists = true;
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) error = "cannot read " + path;
    return !failed;
}

bool writeWholeFile(const std::string& path, std::string_view text, std::string& error) {
    std::string reason;
    if (desktop::files::replaceFile(path, text, reason)) return true;
    error = "cannot write " + path + ": " + reason;
    return false;
}

// Whole seconds later than `before` and not earlier than now.
void moveModificationTime(const std::string& path, const std::optional<std::time_t>& before) {
    namespace fs = std::filesystem;
    std::time_t when = std::time(nullptr);
    if (before && when <= *before) when = *before + 1;
    const std::chrono::sys_seconds at{std::chrono::seconds(when)};
    std::error_code ignored;
    fs::last_write_time(desktop::files::pathOf(path), std::chrono::time_point_cast<fs::file_time_type::duration>(std::chrono::file_clock::from_sys(at)),
                        ignored);
}

std::optional<std::time_t> modificationTime(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_time_type written = std::filesystem::last_write_time(desktop::files::pathOf(path), ec);
    if (ec) return std::nullopt;
    const auto since = std::chrono::file_clock::to_sys(written).time_since_epoch();
    return static_cast<std::time_t>(std::chrono::floor<std::chrono::seconds>(since).count());
}

template <typename Edit>
FileEditResult editFile(const std::string& path, Edit&& edit) {
    FileEditResult result;
    std::string text;
    bool exists = false;
    if (!readWholeFile(path, text, exists, result.error)) return result;
    const std::optional<std::time_t> before = exists ? modificationTime(path) : std::nullopt;
    const std::string edited = edit(text);
    if (!exists && edited.empty()) {  // nothing to remove from a file that is not there
        result.ok = true;
        return result;
    }
    if (!writeWholeFile(path, edited, result.error)) return result;
    moveModificationTime(path, before);
    result.ok = true;
    result.created = !exists;
    return result;
}

std::string checkNames(std::string_view section, std::string_view key) {
    if (section.empty() || hasLineBreak(section) || section.find(']') != std::string_view::npos) {
        return "a section name must not be empty or hold \"]\" or a line break";
    }
    if (key.empty() || hasLineBreak(key) || key.find('=') != std::string_view::npos) {
        return "a key must not be empty or hold \"=\" or a line break";
    }
    return {};
}

}  // namespace

std::string settingsPathOfModule(const std::string& moduleFile) {
    std::filesystem::path path = desktop::files::pathOf(moduleFile);
    const std::filesystem::path folder = path.parent_path();
    if (folder.extension() == ".xnt") path = folder;
    path.replace_extension(".ini");
    return desktop::files::nameOf(path);
}

std::string_view detectLineEnd(std::string_view text, std::string_view fallback) {
    const std::size_t cr = text.find('\r');
    if (cr != std::string_view::npos) return (cr + 1 < text.size() && text[cr + 1] == '\n') ? "\r\n" : "\r";
    if (text.find('\n') != std::string_view::npos) return "\n";
    return fallback;
}

std::string setEntry(std::string_view text, std::string_view section, std::string_view key, std::string_view value) {
    const std::string lineEnd(detectLineEnd(text));
    std::vector<Line> lines = splitLines(text);
    const std::string entry = std::string(key) + "=" + std::string(value);

    const std::size_t header = findSection(lines, section);
    if (header == lines.size()) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = lineEnd;
        lines.push_back({"[" + std::string(section) + "]", lineEnd});
        lines.push_back({entry, lineEnd});
        return joinLines(lines);
    }
    const std::size_t end = sectionEnd(lines, header);
    std::size_t lastFilled = header;
    for (std::size_t i = header + 1; i < end; ++i) {
        if (isEntryOf(lines[i].body, key)) {
            lines[i].body = entry;
            return joinLines(lines);
        }
        if (!lines[i].body.empty()) lastFilled = i;
    }
    insertAfter(lines, lastFilled, entry, lineEnd);
    return joinLines(lines);
}

std::string removeEntry(std::string_view text, std::string_view section, std::string_view key) {
    std::vector<Line> lines = splitLines(text);
    const std::size_t header = findSection(lines, section);
    if (header == lines.size()) return std::string(text);
    std::size_t end = sectionEnd(lines, header);
    for (std::size_t i = header + 1; i < end;) {
        if (isEntryOf(lines[i].body, key)) {
            // The line before takes over the missing line end of a last line.
            if (lines[i].end.empty() && i > 0) lines[i - 1].end.clear();
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            --end;
        } else {
            ++i;
        }
    }
    return joinLines(lines);
}

FileEditResult setEntryInFile(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view value) {
    if (std::string problem = checkNames(section, key); !problem.empty()) return FileEditResult{false, false, problem};
    if (hasLineBreak(value)) return FileEditResult{false, false, "a value must not hold a line break"};
    return editFile(path, [&](const std::string& text) { return setEntry(text, section, key, value); });
}

FileEditResult removeEntryInFile(const std::string& path, std::string_view section, std::string_view key) {
    if (std::string problem = checkNames(section, key); !problem.empty()) return FileEditResult{false, false, problem};
    return editFile(path, [&](const std::string& text) { return removeEntry(text, section, key); });
}

}  // namespace hostsim::session
