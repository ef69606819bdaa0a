// Other applications: bringing a process to the front, opening a document
// with an application, revealing a file in the file manager. Nothing here asks
// the user anything; failures are answered, never shown.
//
// Windows: documents open through the shell (the file's default action, or
// the application started with the document as its one argument), Explorer
// reveals files, a process is its main window, and no application has a
// signature but this host (kCreatorThisHost). Files have no type or creator:
// `openDocumentWithCreator` opens with the default action
// (Traits::kOpenByCreator is false there).
#pragma once

#include <cstdint>

namespace lumbrel::platform {

// Four-character signatures of applications.
inline constexpr std::uint32_t kCreatorThisHost = 0;             // the host the module runs in
inline constexpr std::uint32_t kCreatorFileManager = 0x4D414353;  // 'MACS', the Finder

// A running process, as remembered to be brought back to the front.
enum class ProcessRef : std::uint32_t { None = 0 };

// Brings the running application with signature `creator` to the front.
// When `previousFront` is given it receives the process that was in front
// before. 0, or -1 when no such application runs (nothing changes then).
int bringApplicationToFront(std::uint32_t creator, ProcessRef* previousFront) noexcept;

// Brings a process remembered by `bringApplicationToFront` back to the front.
// 0, or -1 when it no longer runs.
int bringProcessToFront(ProcessRef process) noexcept;

// Opens the document `documentPath` with the application at `applicationPath`,
// or with the document's default application when that is null. The
// application comes to the front. No answer of the application is awaited.
// 0, or -1 when the document or the application does not exist.
int openDocument(const char* documentPath, const char* applicationPath) noexcept;

// The Mac OS type of plain text files.
inline constexpr std::uint32_t kFileTypeText = 0x54455854;  // 'TEXT'

// Gives the file the Mac OS type and creator codes, then has the file manager
// open it, which opens it with the application of that creator. A type of 0
// leaves the file's type as it is. 0, or -1 when the file does not exist or
// no application has that creator.
int openDocumentWithCreator(const char* documentPath, std::uint32_t type, std::uint32_t creator) noexcept;

// Shows the file or folder `path` selected in a window of the file manager,
// which comes to the front. 0, or -1 when it does not exist.
int revealInFileManager(const char* path) noexcept;

}  // namespace lumbrel::platform
