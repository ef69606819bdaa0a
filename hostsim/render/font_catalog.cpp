#include "hostsim/render/font_catalog.h"

#include "desktop/files/file_open.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
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

bool sameIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

}  // namespace

const std::vector<CatalogFont>& catalogFonts() { return kFonts; }

const CatalogFont* fontByName(std::string_view name) noexcept {
    for (const CatalogFont& font : kFonts) {
        if (sameIgnoringCase(font.name, name)) return &font;
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
    for (std::string& folder : systemFontFolders()) folders.push_back(std::move(folder));
    return folders;
}

std::optional<std::string> findFontFile(const CatalogFont& font, std::string* error) {
    const std::vector<std::string> folders = fontFolders();
    for (const std::string& folder : folders) {
        const fs::path candidate = desktop::files::pathOf(folder) / font.fileName;
        if (isFile(candidate)) return desktop::files::nameOf(candidate);
    }
    if (std::optional<std::string> found = findFontFileElsewhere(font.fileName)) return found;
    if (error != nullptr) {
        std::string where;
        for (const std::string& folder : folders) where += (where.empty() ? "" : ", ") + folder;
        *error = std::string("font \"") + font.name + "\" (" + font.family + "): " + font.fileName +
                 " not found in " + where + fontSearchHint();
    }
    return std::nullopt;
}

}  // namespace hostsim::render
