// File types by extension. The table's order matters only in principle:
// no extension in it is the end of another.
#include "filetypes/file_types.h"

#include <cctype>
#include <string_view>

#include "platform/platform_traits.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/utf8_text.h"

namespace lumbrel {

namespace {

struct ExtensionType {
    std::string_view extension;  // lower case, with its dot
    FileTypeCode type;
};

constexpr ExtensionType kExtensionTable[] = {
    {".tif", kTypeTIFF}, {".tiff", kTypeTIFF}, {".eps", kTypeEPSF}, {".pdf", kTypePDF},
    {".jpg", kTypeJPEG}, {".jpeg", kTypeJPEG}, {".qip", kTypeZIP},  {".zip", kTypeZIP},
    {".txt", kTypeTEXT}, {".otf", kTypeOTTO},  {".gif", kTypeGIF},  {".psd", kTypePSD},
};

// What a file without a known extension answers: its Finder type where the
// platform keeps one. This build keeps none.
static_assert(!platform::Traits::kFinderTypes, "reading a per-file type is not implemented");
constexpr FileTypeCode kNoRecordedType = kTypeNone;

}  // namespace

FileTypeCode getFileType(const char* path) noexcept {
    if (path == nullptr || path[0] == '\0') return kNoRecordedType;
    char name[kPathSize];
    getFileName(path, name, sizeof name, true);
    // The cut counts characters: a name of 63 characters with umlauts is
    // longer than 63 bytes and still shows its extension.
    const std::size_t kept = utf8PrefixLength(name, kMaxTypedNameLength);
    name[kept] = '\0';
    for (char& c : name) {
        if (c == '\0') break;
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const std::string_view lowered(name, kept);
    for (const ExtensionType& row : kExtensionTable) {
        if (lowered.ends_with(row.extension)) return row.type;
    }
    return kNoRecordedType;
}

}  // namespace lumbrel
