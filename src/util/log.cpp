// The diagnostic log. The file is never held open, so a crash of the host
// loses no more than the line being written, and the user may delete or
// read the file at any time.
#include "util/log.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "platform/file_system.h"
#include "platform/platform_traits.h"
#include "util/bounded.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

using platform::Traits;

// A log larger than this is started afresh at set-up.
constexpr long long kMaxLogSize = 100000;
constexpr std::size_t kLineBufferSize = 8192;

std::int16_t gLogMode = 0;
char gLogPath[kPathSize] = {};

// Builds the log path from the documents folder; empty when the folder is
// unknown or the path would not fit (a cut path would name another file).
void buildLogPath() noexcept {
    gLogPath[0] = '\0';
    char documents[kPathSize];
    if (!getDocumentsFolder(documents, sizeof documents)) return;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"  // the platform's own constant format
    const int length = std::snprintf(gLogPath, sizeof gLogPath, Traits::kLogFileFormat, documents,
                                     Traits::kPathSeparator, platform::kProductName);
#pragma GCC diagnostic pop
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof gLogPath) gLogPath[0] = '\0';
}

// Opens the log for update when it exists, otherwise creates it.
std::FILE* openLog() noexcept {
    if (gLogPath[0] == '\0') return nullptr;
    std::FILE* file = platform::openFile(gLogPath, "rb+");
    return file != nullptr ? file : platform::openFile(gLogPath, "wb+");
}

}  // namespace

std::int16_t setupDump(std::int16_t mode) {
    buildLogPath();
    platform::ItemInfo info;
    if (gLogPath[0] != '\0' && platform::lookAt(gLogPath, info) && info.size > kMaxLogSize) {
        platform::removeFile(gLogPath);
    }
    if (mode == 1) {
        if (std::FILE* file = openLog()) {
            writeBOM(file);  // over whatever the first three bytes were
            std::fclose(file);
        }
    }
    gLogMode = mode;
    return mode;
}

int dprintf(const char* format, ...) {
    if (gLogMode == 0) return 0;
    if (format == nullptr) return 0;
    char line[kLineBufferSize];
    std::va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length < 0) return length;  // a formatting error writes nothing
    if (static_cast<std::size_t>(length) >= sizeof line) length = static_cast<int>(sizeof line - 1);
    if (length >= 1 && gLogMode >= 1) {
        if (std::FILE* file = openLog()) {
            if (std::fseek(file, 0, SEEK_END) == 0) std::fwrite(line, 1, static_cast<std::size_t>(length), file);
            std::fclose(file);
        }
    }
    return length;
}

void dumpTime(const char* prefix, const char* suffix) {
    if (gLogMode == 0) return;
    const std::time_t now = std::time(nullptr);
    const char* lineEnd = suffix != nullptr ? suffix : Traits::kLineEnd;
    std::tm time{};
    if constexpr (Traits::kLogClockInUtc) {
        if (!platform::utcTime(now, time)) time = std::tm{};
        dprintf("%s: %02d:%02d:%02d%s", prefix != nullptr ? prefix : "", time.tm_hour, time.tm_min, time.tm_sec,
                lineEnd);
    } else {
        char clock[16] = {};
        if (!platform::localTime(now, time) || std::strftime(clock, sizeof clock, "%H:%M:%S", &time) == 0) {
            clock[0] = '\0';
        }
        dprintf("%s%s%s", prefix != nullptr ? prefix : "", clock, lineEnd);
    }
}

std::int16_t getLogMode() noexcept { return gLogMode; }

const char* getLogPath() noexcept { return gLogPath; }

}  // namespace lumbrel
