// Previews of placed pictures: TIFF, JPEG and PNG files decoded to RGB with
// their own libraries. CMYK and grey come out as RGB; other kinds (EPS,
// PDF, ...) have no preview here.
#pragma once

#include "hostsim/render/display_list.h"

#include <optional>
#include <string>

namespace hostsim::render {

// Pictures of more pixels than this are not decoded (a placeholder is drawn).
inline constexpr std::uint64_t kMaxPreviewPixels = 40'000'000;

// The picture in the file, whatever its extension says; nothing when the
// file is missing, of another kind, damaged or too large (`error` says which).
std::optional<Raster> decodePicture(const std::string& path, std::string* error = nullptr);

}  // namespace hostsim::render
