// Font files on POSIX systems: Debian's folders first, then what other
// distributions use.
#include "hostsim/render/font_catalog.h"

#include <filesystem>
#include <system_error>

namespace hostsim::render {

std::vector<std::string> systemFontFolders() {
    return {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu", "/usr/share/fonts/TTF",
            "/usr/share/fonts/truetype", "/usr/local/share/fonts"};
}

std::optional<std::string> findFontFileElsewhere(const char* fileName) {
    namespace fs = std::filesystem;
    // Other distributions sort the families into folders of their own.
    std::error_code ec;
    for (fs::recursive_directory_iterator it("/usr/share/fonts", fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->path().filename() == fileName && fs::is_regular_file(it->path(), kind)) return it->path().string();
    }
    return std::nullopt;
}

std::string fontSearchHint() { return " or below /usr/share/fonts (install fonts-dejavu-core)"; }

}  // namespace hostsim::render
