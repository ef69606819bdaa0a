// Opening a picture or list in another application, revealing a file in the
// file manager, bringing an application to the front. Failures are answered,
// never shown: no caller tells the user.
#pragma once

#include <cstdint>

#include "platform/processes.h"

namespace lumbrel {

// The file manager's signature: asked to open a document, it opens it with
// the document's default application.
inline constexpr std::uint32_t kCreatorFinder = platform::kCreatorFileManager;

// Opens `path` with the application of signature `creator`; kCreatorFinder
// opens it with its default application. 0, or -1.
int openDoc(std::uint32_t creator, const char* path);

// Opens `path` with the application at `applicationPath`. 0, or -1.
int openDoc(const char* applicationPath, const char* path);

// Reveals `path` in the file manager, which comes to the front. 0, or -1.
int selectDoc(const char* path);

// Brings the application of signature `creator` (0: this host) to the front;
// `previous`, when given, receives the process that was in front. 0, or -1.
// The Windows build switches nothing (and answers 0, `previous` none).
int setFrontProcess(std::uint32_t creator, platform::ProcessRef* previous = nullptr);

}  // namespace lumbrel
