// The optional diagnostic log: a text file in the user's documents folder,
// opened, appended to and closed for every line. While the mode is 0 a log
// call costs one test.
#pragma once

#include <cstdint>

namespace lumbrel {

// Builds the log path, deletes a log larger than 100000 bytes, writes the
// byte-order mark at the start of the file in mode 1, and keeps the mode:
// 0 off, 1 on with the mark, above 1 on without it, below 0 format only.
std::int16_t setupDump(std::int16_t mode);

// Formats into 8192 bytes (cut there) and appends the text to the log.
// Returns the formatted length; 0 at once while the mode is 0. Lives in the
// module's namespace, apart from the C library's dprintf(int, ...).
int dprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Logs the prefix, the time of day with seconds and the suffix (the line end
// when null).
void dumpTime(const char* prefix, const char* suffix = nullptr);

std::int16_t getLogMode() noexcept;
const char* getLogPath() noexcept;

}  // namespace lumbrel
