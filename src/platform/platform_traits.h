// The one place where the module's behaviour differs between its builds.
// Feature code asks these constants instead of testing the platform itself.
#pragma once

#include <cstddef>

// The calling convention of procedures the system calls back (CALLBACK).
#if defined(_WIN32)
#define LUMBREL_CALLBACK __stdcall
#else
#define LUMBREL_CALLBACK
#endif

// The one symbol the module exports to its host.
#if defined(_WIN32)
#define LUMBREL_EXPORT __declspec(dllexport)
#else
#define LUMBREL_EXPORT __attribute__((visibility("default")))
#endif

// printf-style format checking for the module's own formatting functions.
// They format with C99 rules (%zu, %lld) on every platform: MinGW's C++
// library selects its own C99 printf family. Its compiler's plain "printf"
// archetype would check the Microsoft runtime's rules instead.
#if defined(__MINGW32__)
#define LUMBREL_PRINTF_FORMAT(formatIndex, firstArgument) \
    __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#else
#define LUMBREL_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#endif

namespace lumbrel::platform {

#if defined(_WIN32)
struct Traits {
    static constexpr const char* kVersion = "4.67";
    static constexpr const char* kLineEnd = "\r\n";   // text files, log lines, PostScript
    static constexpr char kPathSeparator = '\\';
    static constexpr const char* kLogFileFormat = "%s%c%s.log";
    static constexpr bool kHfsPaths = false;          // no colon-separated paths
    static constexpr bool kFinderTypes = false;       // no per-file type codes
    static constexpr bool kOpenByCreator = false;     // lists open with the shell's default action
    static constexpr bool kLayoutsFolderAnyCase = true;  // "Layouts" counts as the layouts folder
    static constexpr bool kModuleIsBundle = false;    // the module path is the DLL's own file
    static constexpr bool kResourcesInModule = true;  // resources are embedded in the DLL
    // Start-up and host interface
    static constexpr bool kWindowsHostForm = true;    // interface tables, window messages, commands 113/118
    static constexpr bool kLogsSwitchIn = true;       // "switchIn..." is logged at every switch-in
    // Dropping files and folders
    static constexpr bool kDropAtIdle = true;          // all dropped files, placed at the next idle step
    static constexpr bool kDropFolderAsks = false;     // a dropped folder is synchronised without asking
    static constexpr bool kFolderSyncAlwaysSubfolders = true;  // "Subfolders" is not read
    // Labels, image list, swap, editing
    // Not in file names: control characters, a drive's or stream's colon, wildcards.
    static constexpr const char* kFileNameForbidden =
        "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F"
        "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F<>:\"|?*";
    static constexpr bool kEditTitleIsFileName = false;  // the edit window keeps its title "Edit"
    static constexpr bool kBringsHostToFront = false;    // the host's dialogs come up in front by themselves
    // Settings, preference pane, XML values and the log's clock
    static constexpr bool kSettingsFollowAliases = false;  // the settings path is taken as it is
    static constexpr bool kPaneHasFolderOptions = false;   // no PDF-options and subfolder items in the pane
    static constexpr bool kXmlBooleanWords = false;        // XML values are numbers only ("true" reads 0)
    static constexpr bool kLogClockInUtc = true;           // dumpTime: "prefix: hh:mm:ss" in UTC
    static constexpr bool kPathEncodingConverted = true;   // fileExists reads the path in the given encoding
};
#else
// The POSIX build stands in for the Mac OS X build and behaves as it does.
struct Traits {
    static constexpr const char* kVersion = "4.72";
    static constexpr const char* kLineEnd = "\r";
    static constexpr char kPathSeparator = '/';
    static constexpr const char* kLogFileFormat = "%s%c%s.txt";
    static constexpr bool kHfsPaths = true;           // "Volume:Folder:File" paths are understood
    static constexpr bool kFinderTypes = false;       // the file system keeps no per-file type
    static constexpr bool kOpenByCreator = true;      // lists open in the application of a creator code
    static constexpr bool kLayoutsFolderAnyCase = false;  // only "layouts" itself is the layouts folder
    static constexpr bool kModuleIsBundle = true;     // the module path is the bundle folder around the file
    static constexpr bool kResourcesInModule = false; // resources are files of the bundle's Resources/
    // Start-up and host interface
    static constexpr bool kWindowsHostForm = false;   // function groups, classic events, command 117
    static constexpr bool kLogsSwitchIn = false;
    // Dropping files and folders
    static constexpr bool kDropAtIdle = false;         // the first dropped file, placed in the drop callback
    static constexpr bool kDropFolderAsks = true;      // a dropped folder is synchronised on Yes
    static constexpr bool kFolderSyncAlwaysSubfolders = false;  // "Subfolders" decides
    // Labels, image list, swap, editing
    static constexpr const char* kFileNameForbidden = "";  // beyond the separators
    static constexpr bool kEditTitleIsFileName = true;   // the edit window is titled with the picture's name
    static constexpr bool kBringsHostToFront = true;     // the host is brought to the front before it asks
    // Settings, preference pane, XML values and the log's clock
    static constexpr bool kSettingsFollowAliases = true;   // a link at the settings path leads to the file
    static constexpr bool kPaneHasFolderOptions = true;    // the pane shows and writes the two folder options
    static constexpr bool kXmlBooleanWords = true;         // "true" and "false" read as 1 and 0
    static constexpr bool kLogClockInUtc = false;          // dumpTime: "prefix" and the local time
    static constexpr bool kPathEncodingConverted = false;  // fileExists takes every path as UTF-8 bytes
};
#endif

inline constexpr const char* kProductName = "Lumbrel";

}  // namespace lumbrel::platform
