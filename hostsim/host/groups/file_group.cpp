// "xtfile": file objects that name a place, and read streams opened on
// them. Streams hold the open file themselves, so closing a stream after its
// file object was disposed is fine; file objects never disposed and streams
// never closed are reported at quit.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include "hostsim/model/status.h"

#include "desktop/files/file_open.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace hostsim {

namespace {

constexpr const char* G = "xtfile";
constexpr std::size_t kMaxPath = 4096;

static_assert(sizeof(XTStreamOpenRequest) == 18, "the open request is 18 bytes on every host");

bool liveFile(Runtime& rt, const char* field, XTFile__* file) {
    if (file != nullptr && rt.files.count(file) != 0) return true;
    rt.violation(G, field, "got a file object that is not live");
    return false;
}

XTFile__* create() {
    return hostCall<XTFile__*>(G, "create", kNeedNothing, nullptr, [](Runtime& rt) -> XTFile__* {
        auto file = std::make_unique<XTFile__>();
        rt.files.insert(file.get());
        return file.release();
    });
}

XTError setLocation(XTFile__* file, const char* path) {
    return hostCall<XTError>(G, "setLocation", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (!liveFile(rt, "setLocation", file)) return XTError{XT_PARAMERR};
        if (path == nullptr) {
            rt.violation(G, "setLocation", "got no path");
            return XTError{XT_PARAMERR};
        }
        const std::size_t length = strnlen(path, kMaxPath);
        // A path cut short would name another file.
        if (length == 0 || length == kMaxPath) return XTError{XT_PARAMERR};
        file->path.assign(path, length);
        return XTError{XT_NOERR};
    });
}

XTError openStream(XTFile__* file, const XTStreamOpenRequest* request, XTStream__** stream) {
    return hostCall<XTError>(G, "openStream", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (stream == nullptr) {
            rt.violation(G, "openStream", "got no place for the stream");
            return XTError{XT_PARAMERR};
        }
        *stream = nullptr;
        if (!liveFile(rt, "openStream", file)) return XTError{XT_PARAMERR};
        if (request == nullptr) {
            rt.violation(G, "openStream", "got no request");
            return XTError{XT_PARAMERR};
        }
        if (request->size != static_cast<std::int16_t>(sizeof(XTStreamOpenRequest))) {
            rt.violation(G, "openStream",
                         "got a request of size " + std::to_string(request->size) + " instead of " +
                             std::to_string(sizeof(XTStreamOpenRequest)));
            return XTError{XT_PARAMERR};
        }
        if (request->access != XT_STREAM_READ) {
            rt.violation(G, "openStream", "got the access " + std::to_string(request->access) + ", which is not read");
            return XTError{XT_PARAMERR};
        }
        for (std::int16_t word : request->reserved) {
            if (word != 0) {
                rt.violation(G, "openStream", "got a request whose reserved words are not 0");
                return XTError{XT_PARAMERR};
            }
        }
        if (file->path.empty()) {
            rt.violation(G, "openStream", "got a file object without a location");
            return XTError{XT_PARAMERR};
        }
        auto opened = std::make_unique<XTStream__>();
        opened->path = file->path;
        opened->file.reset(desktop::files::openToRead(file->path));
        if (!opened->file) return XTError{errno == ENOENT || errno == ENOTDIR ? XT_FNF : kErrIO};
        struct stat info {};
        if (fstat(fileno(opened->file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return XTError{kErrIO};
        rt.streams.insert(opened.get());
        *stream = opened.release();
        return XTError{XT_NOERR};
    });
}

XTError closeStream(XTStream__* stream) {
    return hostCall<XTError>(G, "closeStream", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (stream == nullptr || rt.streams.count(stream) == 0) {
            rt.violation(G, "closeStream", "got a stream that is not open");
            return XTError{XT_PARAMERR};
        }
        rt.streams.erase(stream);
        delete stream;
        return XTError{XT_NOERR};
    });
}

void dispose(XTFile__* file) {
    hostCallVoid(G, "dispose", kNeedNothing, [=](Runtime& rt) {
        if (file == nullptr) return;  // disposing of no file does nothing, as with handles
        if (!liveFile(rt, "dispose", file)) return;
        rt.files.erase(file);
        delete file;
    });
}

const XTFileGroup kTable{sizeof(XTFileGroup), create, setLocation, openStream, closeStream, dispose};

}  // namespace

// The stream behind a live reference; a violation under `group`.`field` otherwise.
std::FILE* openStreamFile(Runtime& rt, XTStreamRef stream, const char* group, const char* field) {
    if (stream == nullptr || rt.streams.count(stream) == 0) {
        rt.violation(group, field, "got a stream that is not open");
        return nullptr;
    }
    return stream->file.get();
}

const XTFileGroup& fileGroupTable() { return kTable; }

}  // namespace hostsim
