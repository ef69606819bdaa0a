#include "editing/remap_images.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editing/first_occurrences.h"
#include "editing/open_documents.h"
#include "editing/relink_list.h"
#include "host/key_state.h"
#include "host/relink_summary.h"
#include "host/xt_documents.h"
#include "host/xt_enumerate.h"
#include "host/xt_pictures.h"
#include "platform/platform_traits.h"
#include "settings/preferences.h"
#include "ui/dialog_functions.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/log.h"
#include "util/my_array.h"
#include "util/utf8_text.h"

namespace lumbrel {

namespace {

constexpr std::int32_t kBoxListCapacity = 10000;
// Far beyond any list of a document's pictures; a larger file is no list.
constexpr std::int32_t kMaxListSize = 64 * 1024 * 1024;

struct FreeBlock {
    void operator()(char* block) const noexcept { std::free(block); }
};

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

struct RelinkRun {
    std::string_view text;
    std::FILE* log = nullptr;
    const XTBoxID* boxes = nullptr;
    std::vector<std::string> paths;  // per box; empty for a box without a picture file
    std::vector<std::size_t> found;  // where each path first occurs in the text
    bool reporting = false;          // counted for the summary ("SyncReport")
    RelinkSummary summary;
};

// Counts the pictures that named a file, and the paths that begin more than
// one line of the list; logs each such path with all its new paths.
void countForSummary(RelinkRun& run) {
    std::set<std::string_view> seen;
    const auto repeated = repeatedOldPaths(run.text);
    for (const std::string& path : run.paths) {
        if (path.empty()) continue;
        ++run.summary.pictures;
        const auto lines = repeated.find(path);
        if (lines == repeated.end() || !seen.insert(path).second) continue;
        ++run.summary.ambiguousNames;
        logAmbiguousName(path, lines->second);
    }
}

// The list's text in Normalization Form C; none when it cannot be read.
std::optional<std::string> readList(const char* posixPath) {
    std::int32_t length = 0;
    std::int16_t status = kFileNotOpened;
    const std::unique_ptr<char, FreeBlock> data(getFileData(posixPath, &length, &status));
    if (data == nullptr || status != kFileRead || length < 0 || length > kMaxListSize) return std::nullopt;
    return composedUTF8(std::string_view(data.get(), static_cast<std::size_t>(length)));
}

bool collectBox(XTBoxID box, std::intptr_t data) {
    reinterpret_cast<MyArray*>(data)->addElem(&box);
    return true;
}

void writeText(std::FILE* log, std::string_view text) {
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), log);
}

// A new path the host can be given: it fits a path buffer and holds no zero
// byte (which would cut it short and name another file).
bool usablePath(std::string_view path) {
    return path.size() < kPathSize && path.find('\0') == std::string_view::npos;
}

bool relinkOne(WindowPtr, void* item, std::intptr_t user) {
    auto& run = *reinterpret_cast<RelinkRun*>(user);
    const auto* box = static_cast<const XTBoxID*>(item);
    const auto index = static_cast<std::size_t>(box - run.boxes);
    const std::string& old = run.paths[index];
    if (old.empty()) return true;
    const std::optional<std::string_view> mapped =
        run.found[index] != kNotFound ? mappingAt(run.text, run.found[index]) : std::nullopt;
    const std::string_view newPath = mapped.value_or(std::string_view());
    char newPathText[kPathSize] = {};
    const bool relink = mapped.has_value() && usablePath(newPath) && copyBounded(newPathText, newPath) == newPath.size() &&
                        fileExists(newPathText);
    if (!relink) writeText(run.log, "\t####\t");
    writeText(run.log, old);
    writeText(run.log, " --> ");
    writeText(run.log, newPath);
    writeText(run.log, platform::Traits::kLineEnd);
    const bool loaded = relink && XTLoadBox(*box, newPathText) == 0;
    if (run.reporting) {
        if (loaded) {
            ++run.summary.relinked;
        } else {
            ++run.summary.notFound;
            logNotFound(old);
        }
    }
    return true;
}

}  // namespace

void remapImages(const char* listPath) {
    if (!hasCurrentDocument()) return;
    setFrontProcess(platform::kCreatorThisHost);
    char posixBuffer[kPathSize];
    const char* posix = posixPathOf(listPath, posixBuffer, sizeof posixBuffer);
    char logPath[kPathSize];
    if (posix == nullptr || copyBounded(logPath, posix) != std::strlen(posix)) return;
    // A list named ".log" would be its own log.
    if (replaceExtension(logPath, ".log") == nullptr || std::strcmp(logPath, posix) == 0) return;

    RelinkRun run;
    MyArray boxes(kBoxListCapacity, sizeof(XTBoxID));
    std::optional<std::string> text;
    try {
        text = readList(posix);
        if (!text) return;
        run.text = *text;
        xt_enumpictboxes(kFirstSpread, kAllSpreads, collectBox, nullptr, reinterpret_cast<std::intptr_t>(&boxes));
        run.boxes = static_cast<const XTBoxID*>(boxes.getData());
        const auto count = static_cast<std::size_t>(boxes.getCount());
        run.paths.resize(count);
        std::vector<std::string_view> patterns(count);
        for (std::size_t i = 0; i < count; ++i) {
            char path[kPathSize];
            if (XTGetBoxPath(run.boxes[i], path, sizeof path) != 0) run.paths[i] = path;
            patterns[i] = run.paths[i];
        }
        // One pass over the text for all pictures together.
        run.found = firstOccurrences(run.text, patterns);
        if (run.found.size() != count) return;
        run.reporting = getSyncReport();
        if (run.reporting) {
            try {
                countForSummary(run);
            } catch (const std::bad_alloc&) {
                // The summary then misses names; the relink itself goes on.
            }
        }
    } catch (const std::bad_alloc&) {
        return;
    }

    std::unique_ptr<std::FILE, FileCloser> log(createRegularFile(logPath));
    if (log == nullptr || !writeBOM(log.get())) {
        beep();
        return;
    }
    run.log = log.get();
    const std::uint32_t result = doProgressDialog("Progress", relinkOne, &boxes, reinterpret_cast<std::intptr_t>(&run));
    dprintf("remapImages: %s: %d boxes, result %08x%s", posix, boxes.getCount(), static_cast<unsigned>(result),
            platform::Traits::kLineEnd);
    if (std::fclose(log.release()) != 0) beep();
    if (run.reporting) showRelinkSummary(run.summary);
    openDoc(kCreatorFinder, logPath);
}

}  // namespace lumbrel
