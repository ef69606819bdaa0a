// The optional diagnostic log: a text file in the user's documents folder,
// opened, appended to and closed for every line. While the mode is 0 a log
// call costs one test.
#pragma once

#include <cstdint>

#include "platform/platform_traits.h"

namespace lumbrel {

// Builds the log path (documents folder, the product name, the platform's
// extension; empty when it cannot be made or would not fit), deletes a log
// larger than 100000 bytes, writes the byte-order mark over the first three
// bytes of the file in mode 1 (creating it when missing), and keeps the mode:
// 0 off, 1 on with the mark, above 1 on without it, below 0 format only.
// Returns the mode.
std::int16_t setupDump(std::int16_t mode);

// Formats into 8192 bytes (longer text is cut to 8191) and appends the text
// to the log. Returns the length of the formatted, possibly cut, text; a
// negative value on a formatting error (nothing written); 0 at once while the
// mode is 0. A line that cannot be written is lost silently. Lives in the
// module's namespace, apart from the C library's dprintf(int, ...).
int dprintf(const char* format, ...) LUMBREL_PRINTF_FORMAT(1, 2);

// Logs the prefix, the time of day and the suffix (the platform's line end
// when null): "prefix" "%H:%M:%S" in local time, or where the platform's log
// keeps UTC (platform_traits.h) "prefix" ": " "%H:%M:%S" in UTC.
void dumpTime(const char* prefix, const char* suffix = nullptr);

std::int16_t getLogMode() noexcept;
const char* getLogPath() noexcept;

}  // namespace lumbrel
