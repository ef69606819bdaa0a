// The fonts this host knows by name and where their files lie. Every name
// stands for one of the freely licensed DejaVu families that Debian ships
// (fonts-dejavu-core): the sans serif for "Geneva", "Helvetica" and "Arial",
// the serif for "Times", the monospaced one for "Courier".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim::render {

struct CatalogFont {
    const char* name;      // as a module asks for it
    std::int16_t id;       // the host's font id, never 0
    const char* family;    // the family drawn ("DejaVu Sans"), also the SVG font family
    const char* fileName;  // "DejaVuSans.ttf"
};

// The known fonts, in a fixed order.
const std::vector<CatalogFont>& catalogFonts();

// By name, ignoring case; nullptr when unknown.
const CatalogFont* fontByName(std::string_view name) noexcept;
// By id; an unknown id or 0 gives the substitute (the sans serif).
const CatalogFont& fontByID(std::int16_t id) noexcept;

// Folders searched for font files, in order: $HOSTSIM_FONT_DIR when set,
// then the system's. POSIX: the usual Debian and Unix font folders.
// Windows: the host's own "Fonts" folder beside its program, then the
// Windows Fonts folder (a Windows host has no business in /usr/share).
std::vector<std::string> fontFolders();

// The file of the font: the first folder holding fileName directly, else
// (POSIX) the first file of that name below /usr/share/fonts. Nothing when
// it is nowhere; `error` then says what was looked for and where.
std::optional<std::string> findFontFile(const CatalogFont& font, std::string* error = nullptr);

// Per system (posix/, win32/): the folders after $HOSTSIM_FONT_DIR, a last
// search where distributions sort fonts into folders of their own, and
// where the message of a missing file says it was looked for and how to get it.
std::vector<std::string> systemFontFolders();
std::optional<std::string> findFontFileElsewhere(const char* fileName);
std::string fontSearchHint();

}  // namespace hostsim::render
