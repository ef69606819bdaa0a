// Layouts made by the tests with real picture files: pages named as the
// test says (roman numbers, sections), picture boxes whose pictures the
// host imports from files in a scratch folder, so the host reports what it
// read from each file and every link as up to date.
#pragma once

#include "hostsim/model/document.h"

#include <optional>
#include <string>
#include <vector>

namespace lumbrel::integration {

inline constexpr double kTestPageWidth = 420.0;
inline constexpr double kTestPageHeight = 595.0;

// Spreads of pages side by side, each page kTestPageWidth wide, named in order.
hostsim::Document pagesDocument(const std::vector<std::vector<std::string>>& spreadPageNames,
                                hostsim::Unit unit = hostsim::Unit::millimetres);

// A picture box on the spread importing the file; 0 (and a test failure)
// when the import fails. An empty file leaves the box empty.
hostsim::BoxId placePicture(hostsim::Document& doc, int spread, const hostsim::Rect& bounds, const std::string& file);

// One page with a picture box per path, stacked 50 points apart, each
// importing a copy of samples/pictures/grey.tif made at that path whatever
// its name says; `boxes` receives their ids in order.
hostsim::Document greyPicturesDocument(const std::vector<std::string>& paths, std::vector<hostsim::BoxId>& boxes);

// Copies samples/pictures/<sample> to `path` (folders made); the path.
std::string copySample(const std::string& sample, const std::string& path);

// A grey-scale TIFF of 600 x 300 pixels at 300 dpi: 2 x 1 inch.
std::string writeGreyTiff300(const std::string& path);

// Points $TMPDIR at a folder of its own while it lives.
class TemporaryFolderGuard {
public:
    explicit TemporaryFolderGuard(const std::string& folder);
    ~TemporaryFolderGuard();
    TemporaryFolderGuard(const TemporaryFolderGuard&) = delete;
    TemporaryFolderGuard& operator=(const TemporaryFolderGuard&) = delete;

private:
    std::optional<std::string> saved_;
};

}  // namespace lumbrel::integration
