// Writing scenes: PNG through libpng's simplified interface (no jumps out
// of libpng), SVG as text; the file kind by extension.
#include "hostsim/render/page_renderer.h"

#include "desktop/files/file_replace.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace hostsim::render {

namespace {

bool validRaster(const Raster& raster) {
    return !raster.empty() && raster.width <= kMaxPixels && raster.height <= kMaxPixels &&
           raster.rgb.size() == static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height) * 3;
}

png_image imageOf(const Raster& raster) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(raster.width);
    image.height = static_cast<png_uint_32>(raster.height);
    image.format = PNG_FORMAT_RGB;
    return image;
}

std::string lowerExtension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool writeText(const std::string& path, const std::string& text, std::string* error) {
    std::string reason;
    if (desktop::files::replaceFile(path, text, reason)) return true;
    if (error != nullptr) *error = "cannot write " + path + ": " + reason;
    return false;
}

}  // namespace

bool writePng(const Raster& raster, const std::string& path, std::string* error) {
    const std::optional<std::string> bytes = encodePng(raster, error);
    return bytes && writeText(path, *bytes, error);
}

std::optional<std::string> encodePng(const Raster& raster, std::string* error) {
    if (!validRaster(raster)) {
        if (error != nullptr) *error = "no picture to write";
        return std::nullopt;
    }
    try {
        png_image image = imageOf(raster);
        png_alloc_size_t size = 0;
        if (png_image_write_to_memory(&image, nullptr, &size, 0, raster.rgb.data(), 0, nullptr) == 0) {
            if (error != nullptr) *error = image.message;
            return std::nullopt;
        }
        std::string bytes(size, '\0');
        image = imageOf(raster);
        if (png_image_write_to_memory(&image, bytes.data(), &size, 0, raster.rgb.data(), 0, nullptr) == 0) {
            if (error != nullptr) *error = image.message;
            return std::nullopt;
        }
        bytes.resize(size);
        return bytes;
    } catch (const std::bad_alloc&) {
        if (error != nullptr) *error = "out of memory";
        return std::nullopt;
    }
}

bool writeScene(const Scene& scene, FontEngine& fonts, const std::string& path, std::string* error) {
    const std::string ext = lowerExtension(path);
    try {
        if (ext == ".svg") return writeText(path, sceneToSvg(scene), error);
        if (ext == ".png") {
            const std::optional<Raster> raster = rasterize(scene, fonts, error);
            return raster && writePng(*raster, path, error);
        }
    } catch (const std::bad_alloc&) {
        if (error != nullptr) *error = "out of memory";
        return false;
    }
    if (error != nullptr) *error = "cannot tell the picture kind of " + path + " (use .svg or .png)";
    return false;
}

}  // namespace hostsim::render
