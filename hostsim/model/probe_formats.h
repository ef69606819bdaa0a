// The per-format readers behind probePicture. Each fills the facts it finds
// into `picture` (colour space, resolution, pixel size; bounds for EPS and
// PDF) and answers kNoErr, or a status code with `message` saying why.
#pragma once

#include "document.h"
#include "file_reader.h"
#include "picture.h"

#include <string>

namespace hostsim::probe {

int readTIFF(const std::string& path, std::int64_t fileSize, Picture& picture, std::string& message);
int readJPEG(const std::string& path, Picture& picture, std::string& message);
int readPNG(const std::string& path, Picture& picture, std::string& message);
int readPDF(const std::string& path, const ImportOptions& options, Picture& picture, std::string& message);
int readEPS(FileReader& file, Picture& picture, std::string& message);
int readPSD(FileReader& file, Picture& picture, std::string& message);
int readGIF(FileReader& file, Picture& picture, std::string& message);

// Resolutions outside (0, kMaxResolution] or not finite are replaced by 72.
inline constexpr double kDefaultResolution = 72.0;
inline constexpr double kMaxResolution = 1'000'000.0;
double saneResolution(double dpi) noexcept;

}  // namespace hostsim::probe
