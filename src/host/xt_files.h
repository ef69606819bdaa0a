// The host's file objects and read streams. A file object only names a
// place; a stream opened on it stays open after the file object is disposed,
// until it is closed.
#pragma once

#include "xtapi.h"

namespace lumbrel {

// A new file object, 0 when the host has none to give.
XTFileRef XTCreateFile();

// Points the file object at `path` (which need not exist yet).
XTError XTSetFileLocation(XTFileRef file, const char* path);

// Opens a read stream on the file object: XT_NOERR and the stream, else the
// host's error and `stream` 0.
XTError XTOpenReadStream(XTFileRef file, XTStreamRef* stream);

// Closes a stream; closing 0 does nothing.
XTError XTCloseStream(XTStreamRef stream);

// Disposes of a file object; 0 does nothing. Streams opened on it stay open.
void XTDisposeFile(XTFileRef file);

// A read stream on the file at `path`, the file object made for it already
// disposed: XT_NOERR and the stream (the caller closes it), else an error
// and `stream` 0.
XTError XTOpenReadStreamAt(const char* path, XTStreamRef* stream);

}  // namespace lumbrel
