#include "hostsim/render/font_catalog.h"

#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <system_error>

namespace hostsim::render {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSans = "DejaVu Sans";
constexpr const char* kSerif = "DejaVu Serif";
constexpr const char* kMono = "DejaVu Sans Mono";

// The ids are the host's own numbers, which modules may have kept.
const std::vector<CatalogFont> kFonts{
    {"Geneva", 3, kSans, "DejaVuSans.ttf"},      {"Times", 20, kSerif, "DejaVuSerif.ttf"},
    {"Helvetica", 21, kSans, "DejaVuSans.ttf"},  {"Courier", 22, kMono, "DejaVuSansMono.ttf"},
    {"Arial", 23, kSans, "DejaVuSans.ttf"},
};

// The sans serif stands in for any font the host does not know.
constexpr std::size_t kSubstitute = 0;

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

const std::vector<CatalogFont>& catalogFonts() { return kFonts; }

const CatalogFont* fontByName(std::string_view name) noexcept {
    for (const CatalogFont& font : kFonts) {
        const std::string_view known(font.name);
        if (known.size() == name.size() && strncasecmp(known.data(), name.data(), name.size()) == 0) return &font;
    }
    return nullptr;
}

const CatalogFont& fontByID(std::int16_t id) noexcept {
    for (const CatalogFont& font : kFonts) {
        if (font.id == id) return font;
    }
    return kFonts[kSubstitute];
}

std::vector<std::string> fontFolders() {
    std::vector<std::string> folders;
    if (const char* own = std::getenv("HOSTSIM_FONT_DIR"); own != nullptr && own[0] != '\0') folders.emplace_back(own);
    for (const char* folder : {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu", "/usr/share/fonts/TTF",
                               "/usr/share/fonts/truetype", "/usr/local/share/fonts"}) {
        folders.emplace_back(folder);
    }
    return folders;
}

std::optional<std::string> findFontFile(const CatalogFont& font, std::string* error) {
    const std::vector<std::string> folders = fontFolders();
    for (const std::string& folder : folders) {
        const fs::path candidate = fs::path(folder) / font.fileName;
        if (isFile(candidate)) return candidate.string();
    }
    // Other distributions sort the families into folders of their own.
    std::error_code ec;
    for (fs::recursive_directory_iterator it("/usr/share/fonts", fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->path().filename() == font.fileName && isFile(it->path())) return it->path().string();
    }
    if (error != nullptr) {
        std::string where;
        for (const std::string& folder : folders) where += (where.empty() ? "" : ", ") + folder;
        *error = std::string("font \"") + font.name + "\" (" + font.family + "): " + font.fileName +
                 " not found in " + where + " or below /usr/share/fonts (install fonts-dejavu-core)";
    }
    return std::nullopt;
}

}  // namespace hostsim::render
