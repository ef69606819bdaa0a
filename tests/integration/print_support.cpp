#include "print_support.h"

#include "support/test_support.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/wait.h>

namespace lumbrel::integration {

namespace fs = std::filesystem;

std::vector<std::string> psLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;
    }
    return lines;
}

std::size_t occurrences(std::string_view text, std::string_view needle) {
    std::size_t count = 0;
    for (std::size_t pos = text.find(needle); pos != std::string_view::npos; pos = text.find(needle, pos + needle.size()))
        ++count;
    return count;
}

std::vector<std::string> psPages(std::string_view text) {
    std::vector<std::string> pages;
    std::size_t pos = text.find("\n%%Page: ");
    while (pos != std::string_view::npos) {
        std::size_t next = text.find("\n%%Page: ", pos + 1);
        std::size_t end = next;
        if (end == std::string_view::npos) end = text.find("\n%%Trailer", pos + 1);
        if (end == std::string_view::npos) end = text.size();
        pages.emplace_back(text.substr(pos + 1, end - pos - 1));
        pos = next;
    }
    return pages;
}

bool ghostscriptPresent() { return std::system("gs --version > /dev/null 2>&1") == 0; }

std::optional<Rgb> readPng(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_stdio(&image, file) == 0) return std::nullopt;
    image.format = PNG_FORMAT_RGB;
    Rgb rgb;
    rgb.width = static_cast<int>(image.width);
    rgb.height = static_cast<int>(image.height);
    rgb.pixels.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.pixels.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    return rgb;
}

GhostscriptRun renderWithGhostscript(const std::string& psFile, const fs::path& folder, int dpi, double width,
                                     double height) {
    GhostscriptRun run;
    fs::create_directories(folder);
    const fs::path log = folder / "gs.log";
    const std::string command = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r" + std::to_string(dpi) +
                                " -dFIXEDMEDIA -dDEVICEWIDTHPOINTS=" + std::to_string(width) +
                                " -dDEVICEHEIGHTPOINTS=" + std::to_string(height) + " '-sOutputFile=" +
                                (folder / "page-%d.png").string() + "' '" + psFile + "' > '" + log.string() +
                                "' 2>&1";
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.output = fs::exists(log) ? test::readFile(log.string()) : std::string();
    for (int page = 1;; ++page) {
        const fs::path png = folder / ("page-" + std::to_string(page) + ".png");
        if (!fs::exists(png)) break;
        std::optional<Rgb> rgb = readPng(png.string());
        if (!rgb) break;
        run.pages.push_back(std::move(*rgb));
    }
    return run;
}

std::vector<LabelledBox> labelledBoxes(const hostsim::Document& doc) {
    std::vector<LabelledBox> boxes;
    for (int page = 1; page <= doc.numPages(); ++page) {
        const auto rect = doc.pageRect(page);
        const auto* chain = doc.chain(doc.spreadOfPage(page));
        if (!rect || chain == nullptr) continue;
        for (const hostsim::BoxId id : *chain) {
            const hostsim::Box* box = doc.findBox(id);
            if (box == nullptr || !box->isPicture() || !box->picture() || box->picture()->path.empty()) continue;
            const hostsim::Rect& b = box->bounds();
            if (b.left < rect->left || b.left >= rect->right || b.top < rect->top || b.top >= rect->bottom) continue;
            boxes.push_back(LabelledBox{page, id, b, *rect, box->picture()->path});
        }
    }
    return boxes;
}

}  // namespace lumbrel::integration
