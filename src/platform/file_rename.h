// Renaming a file without ever replacing another one. The test for an
// existing target and the rename are one step of the file system, so no
// file that appears meanwhile can be overwritten.
#pragma once

namespace lumbrel::platform {

enum class RenameResult {
    Renamed,
    TargetExists,   // a file or folder of the new name is there; nothing changed
    SourceMissing,  // nothing of the old name is there
    Failed,         // refused for another reason (permissions, file system); nothing changed
};

// Renames `from` to `to` (paths in the system's form), failing when `to` exists. Where the
// file system has no such rename, a hard link of the new name is made (which
// fails on an existing name too) and the old name removed; when the old name
// cannot be removed the new link goes again.
RenameResult renameNoReplace(const char* from, const char* to) noexcept;

// The way taken where the file system has no exclusive rename, on its own.
RenameResult renameNoReplaceByLink(const char* from, const char* to) noexcept;

}  // namespace lumbrel::platform
