#include "editing/open_documents.h"

#include "platform/platform_traits.h"

namespace lumbrel {

namespace {
// An open request carries no file type of its own: the file keeps its type.
constexpr std::uint32_t kTypeUnchanged = 0;
}  // namespace

int openDoc(std::uint32_t creator, const char* path) {
    if (path == nullptr || *path == '\0') return -1;
    if (creator == kCreatorFinder) return platform::openDocument(path, nullptr);
    return platform::openDocumentWithCreator(path, kTypeUnchanged, creator);
}

int openDoc(const char* applicationPath, const char* path) {
    if (path == nullptr || *path == '\0' || applicationPath == nullptr || *applicationPath == '\0') return -1;
    return platform::openDocument(path, applicationPath);
}

int selectDoc(const char* path) {
    if (path == nullptr || *path == '\0') return -1;
    return platform::revealInFileManager(path);
}

int setFrontProcess(std::uint32_t creator, platform::ProcessRef* previous) {
    // Where the system keeps no front process to switch, nothing is switched.
    if constexpr (!platform::Traits::kBringsHostToFront) {
        static_cast<void>(creator);
        if (previous != nullptr) *previous = platform::ProcessRef::None;
        return 0;
    }
    return platform::bringApplicationToFront(creator, previous);
}

}  // namespace lumbrel
