// What the Win32 layer tells from an item's attributes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace lumbrel::platform::win32 {

// A reparse point counts as a link when it is one that leads elsewhere (a
// symbolic link or a junction); others (cloud placeholders, deduplicated
// files) are the file or folder their attributes say.
ItemKind kindOf(unsigned long attributes, unsigned long reparseTag) noexcept;

// The kind of the item at `path` itself, its reparse tag looked up when it
// has one. False when there is no such item.
bool kindOfPath(const std::wstring& path, ItemKind& kind) noexcept;

// Seconds since 1970-01-01 UTC of a FILETIME's two halves.
std::int64_t unixSeconds(unsigned long low, unsigned long high) noexcept;

}  // namespace lumbrel::platform::win32
