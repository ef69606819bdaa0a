// Path text, whole-file reading and writing, folder walks and the user's
// special folders. Paths are UTF-8 text; a path that begins with "/" is a
// POSIX path, any other is an HFS path ("Volume:Folder:File").
//
// Bounds: paths travel in kPathSize buffers, but any text may arrive. A
// function with a size argument never writes past it: functions that build a
// path refuse (false or null, path unchanged) when the result does not fit;
// only getFileName cuts its copy, as a name buffer is meant to. Functions
// that only read a path take it at any length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "util/bounded.h"
#include "util/text_encoding.h"

namespace lumbrel {

// ---- path text (no file system access) ------------------------------------

// The separator a path uses, decided by its first character alone: "/" for
// a path that begins with "/", ":" for any other (the HFS form).
char pathSeparatorOf(const char* path) noexcept;

// The last component of `path` into `out` (cut to outSize - 1 bytes);
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
// that follow it; null when the text has no CR or is null. A LF alone does
// not end a line.
const char* getNextLine(const char* text) noexcept;
char* getNextLine(char* text) noexcept;

// HFS paths are turned into length-prefixed names to be resolved, so they
// are limited to 255 bytes; converted paths to 500 bytes with the terminator.
inline constexpr std::size_t kMaxHfsPathLength = 255;
inline constexpr std::size_t kMaxConvertedPathSize = 500;

// Converts an HFS path in place to a POSIX path; a POSIX path is left as it
// is. False (path unchanged) when it cannot be converted: longer than 255
// bytes, an empty component ("Disk::a"), or a result that does not fit in
// 500 bytes or in pathSize.
//
// The POSIX build has no volumes: the startup volume (platform/
// startup_volume.h, compared without regard to case) is "/", any other
// volume V is "/Volumes/V". Each ":" becomes "/", a "/" inside a name becomes
// ":", a trailing ":" is dropped and the result never ends in "/" (it names
// the item as a file). Text with no ":" at all, or that begins with ":", is
// relative to the current folder, as in HFS: "a.tif" stays "a.tif",
// ":Images:a.tif" becomes "Images/a.tif".
// A build without HFS paths (Windows) leaves every path as it is: "C:\a"
// names a drive, not a volume "C".
bool hfsToUnix(char* path, std::size_t pathSize) noexcept;

// `path` itself when it is a POSIX path, or in a build without HFS paths;
// otherwise its conversion written into `buffer`; null when it cannot be
// converted or `path` is null or empty.
const char* posixPathOf(const char* path, char* buffer, std::size_t bufferSize) noexcept;

// ---- files (paths in either form) -----------------------------------------

// True when the file or folder exists (links followed); an empty path does
// not exist. The Windows build reads the path in `encoding` (platform_traits.h);
// the POSIX build takes every path as UTF-8 bytes, whatever `encoding` says.
bool fileExists(const char* path, TextEncoding encoding = kEncodingUTF8) noexcept;
bool isFolder(const char* path) noexcept;

// Opens `posixPath` for reading when it is a regular file (links followed);
// null for anything else (a folder, a FIFO, a device, a socket), which is
// never waited on. The caller closes the stream.
std::FILE* openRegularFile(const char* posixPath) noexcept;
// Opens `posixPath` for writing ("wb"), made new or emptied, when it is a
// regular file or nothing yet (links followed); null for anything else,
// which is neither waited on nor changed. The caller closes the stream.
std::FILE* createRegularFile(const char* posixPath) noexcept;

// Status values of getFileData.
inline constexpr std::int16_t kFileRead = 0;
inline constexpr std::int16_t kFileNotOpened = -1;
inline constexpr std::int16_t kFileNoMemory = -2;

// Reads the whole file into a new block of its length + 4 bytes, zero-filled
// behind the data; the caller frees it with free(). Status kFileNotOpened (no
// block, length 0) when the path is not a readable regular file;
// kFileNoMemory when the block cannot be had (length still stored) or the
// file is larger than INT32_MAX bytes (length stored as 0). `length` and
// `status` may be null.
char* getFileData(const char* path, std::int32_t* length, std::int16_t* status) noexcept;

// Creates or truncates the file and writes `length` bytes; false on failure.
bool setFileData(const char* path, const char* data, std::size_t length) noexcept;

// The file's length; 0 when it cannot be opened for reading and writing
// ("rb+"), so a read-only or missing file reports 0.
std::int64_t getFileSize(const char* path) noexcept;

// Writes the UTF-8 byte-order mark EF BB BF.
bool writeBOM(std::FILE* file) noexcept;

// The modification time in whole seconds since 1970 (links followed); 0 when
// the file is not found. Times outside 1970..2106 are clamped to that range.
std::uint32_t getFileModDate(const char* path) noexcept;

// Walks a folder in the order the file system delivers its items (no
// sorting; hidden items included; "." and ".." left out) and calls back with
// each item's full path in a kPathSize buffer the callback may change.
// An item whose path does not fit in kPathSize is skipped, not cut.
// When `deep`, a folder is walked right after its own callback; links to
// folders are reported but never entered (no loops), and a subfolder that
// cannot be opened is skipped while the walk goes on. A false answer stops
// the whole walk, which answers false; so does a top folder that cannot be
// opened.
using EnumFolderCallback = bool (*)(char* path, std::intptr_t value);
bool EnumFolder(const char* folder, EnumFolderCallback callback, std::intptr_t value, bool deep);

// When `path` names a symbolic link, replaces it in place by the absolute,
// resolved path of the link's target and answers true. False (path
// unchanged) for anything else, a link whose target is missing, or a target
// path that does not fit in pathSize.
bool resolveAlias(char* path, std::size_t pathSize) noexcept;

// ---- special folders of the user's domain ----------------------------------

// Four-character folder types.
inline constexpr std::uint32_t kFolderDocuments = 0x646F6373;     // 'docs'
inline constexpr std::uint32_t kFolderDesktop = 0x6465736B;       // 'desk'
inline constexpr std::uint32_t kFolderPreferences = 0x70726566;   // 'pref'
inline constexpr std::uint32_t kFolderAppSupport = 0x61737570;    // 'asup'
inline constexpr std::uint32_t kFolderTemporary = 0x75746D70;     // 'utmp'

// The folder's path into `out`; empty (false) when it cannot be made, for an
// unknown type, or when it does not fit in outSize (never cut). The folder is
// not created. Where each folder lies: platform/user_folders.h.
bool getSpecialFolderPath(std::uint32_t folderType, char* out, std::size_t outSize) noexcept;
bool getDocumentsFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getDesktopFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getPreferencesFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getAppSupportFolder(char* out, std::size_t outSize = kPathSize) noexcept;
bool getTempFolder(char* out, std::size_t outSize = kPathSize) noexcept;

}  // namespace lumbrel
