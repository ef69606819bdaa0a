// Path text, whole-file reading and writing, folder walks and the user's
// special folders. Paths are UTF-8 text; a path that begins with "/" is a
// POSIX path, any other is an HFS path ("Volume:Folder:File").
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "util/bounded.h"
#include "util/text_encoding.h"

namespace lumbrel {

// ---- path text (no file system access) ------------------------------------

// The separator a path uses, decided by its first character alone.
char pathSeparatorOf(const char* path) noexcept;

// The last component of `path` into `out` (at most outSize - 1 bytes);
// without `withExtension` the extension is removed as replaceExtension does.
void getFileName(const char* path, char* out, std::size_t outSize, bool withExtension) noexcept;
template <std::size_t N>
void getFileName(const char* path, char (&out)[N], bool withExtension) noexcept {
    getFileName(path, out, N, withExtension);
}

// Cuts `path` in place at its last separator; returns the cut position, or
// null with the path unchanged when it has no separator.
char* getFolder(char* path) noexcept;

// Appends "/" and `component`; false (path unchanged) when the result would
// not fit in pathSize bytes.
bool addPathComponent(char* path, std::size_t pathSize, const char* component) noexcept;
template <std::size_t N>
bool addPathComponent(char (&path)[N], const char* component) noexcept {
    return addPathComponent(path, N, component);
}

// Replaces the extension of the last component (from its last ".") by `ext`,
// which carries its own dot; appends it when there is none. Returns where the
// extension was written, or null (path unchanged) when it would not fit.
char* replaceExtension(char* path, std::size_t pathSize, const char* ext) noexcept;
template <std::size_t N>
char* replaceExtension(char (&path)[N], const char* ext) noexcept {
    return replaceExtension(path, N, ext);
}

// True when `path` ends with `suffix`, compared without regard to ASCII case.
bool pathEndsWith(const char* path, const char* suffix) noexcept;

// The start of the line after the first CR of `text`, past every CR and LF
// that follow it; null when the text has no CR or is null.
const char* getNextLine(const char* text) noexcept;
char* getNextLine(char* text) noexcept;

// Converts an HFS path in place to a POSIX path (at most 500 bytes of result);
// a POSIX path is left as it is. False when it cannot be converted.
bool hfsToUnix(char* path, std::size_t pathSize) noexcept;

// ---- files -----------------------------------------------------------------

bool fileExists(const char* path, TextEncoding encoding = kEncodingUTF8) noexcept;
bool isFolder(const char* path) noexcept;

// Status values of getFileData.
inline constexpr std::int16_t kFileRead = 0;
inline constexpr std::int16_t kFileNotOpened = -1;
inline constexpr std::int16_t kFileNoMemory = -2;

// Reads the whole file into a new block of its length + 4 bytes, zero-filled
// behind the data; the caller frees it with free(). See the status values.
char* getFileData(const char* path, std::int32_t* length, std::int16_t* status) noexcept;

// Creates or truncates the file and writes `length` bytes; false on failure.
bool setFileData(const char* path, const char* data, std::size_t length) noexcept;

// The file's length; 0 when it cannot be opened for reading and writing.
std::int64_t getFileSize(const char* path) noexcept;

// Writes the UTF-8 byte-order mark EF BB BF.
bool writeBOM(std::FILE* file) noexcept;

// The modification time in whole seconds; 0 when the file is not found.
std::uint32_t getFileModDate(const char* path) noexcept;

// Walks a folder: calls back with each item's path (folders too, before their
// content when `deep`). A false answer stops the walk, which answers false.
using EnumFolderCallback = bool (*)(char* path, std::intptr_t value);
bool EnumFolder(const char* folder, EnumFolderCallback callback, std::intptr_t value, bool deep);

// When `path` names a link, replaces it in place by the target's path.
bool resolveAlias(char* path, std::size_t pathSize) noexcept;

// ---- special folders of the user's domain ----------------------------------

// Four-character folder types.
inline constexpr std::uint32_t kFolderDocuments = 0x646F6373;     // 'docs'
inline constexpr std::uint32_t kFolderDesktop = 0x6465736B;       // 'desk'
inline constexpr std::uint32_t kFolderPreferences = 0x70726566;   // 'pref'
inline constexpr std::uint32_t kFolderAppSupport = 0x61737570;    // 'asup'
inline constexpr std::uint32_t kFolderTemporary = 0x75746D70;     // 'utmp'

// The folder's path into `out`; empty (false) when it cannot be made. The
// folder is not created.
bool getSpecialFolderPath(std::uint32_t folderType, char* out, std::size_t outSize) noexcept;
bool getDocumentsFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getDesktopFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getPreferencesFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getAppSupportFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getTempFolder(char* out, std::size_t outSize = kPathSize) noexcept;

}  // namespace lumbrel
