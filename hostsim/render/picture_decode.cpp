#include "hostsim/render/picture_decode.h"

namespace hostsim::render {

std::optional<Raster> decodePicture(const std::string& path, std::string* error) {
    if (error != nullptr) *error = "no preview of " + path + " yet";
    return std::nullopt;
}

}  // namespace hostsim::render
