#include "picture_layout.h"

#include "integration_fixture.h"

#include "hostsim/picture_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace lumbrel::integration {

namespace fs = std::filesystem;

hostsim::Document pagesDocument(const std::vector<std::vector<std::string>>& spreadPageNames, hostsim::Unit unit) {
    hostsim::Document doc;
    doc.projectName = "Pictures";
    doc.unit = unit;
    doc.pageWidth = kTestPageWidth;
    doc.pageHeight = kTestPageHeight;
    doc.facingPages = true;
    for (const auto& names : spreadPageNames) {
        hostsim::Spread spread;
        spread.width = kTestPageWidth * static_cast<double>(names.size());
        spread.height = kTestPageHeight;
        double left = 0.0;
        for (const std::string& name : names) {
            spread.pages.push_back(hostsim::Page{name, 0, left, 0.0});
            left += kTestPageWidth;
        }
        doc.addSpread(spread);
    }
    doc.setCurrentPage(1);
    return doc;
}

hostsim::BoxId placePicture(hostsim::Document& doc, int spread, const hostsim::Rect& bounds, const std::string& file) {
    const hostsim::BoxId box = doc.addBox(spread, hostsim::kBoxPicture, bounds);
    if (file.empty()) return box;
    std::string message;
    const int status = doc.importPicture(box, file, {}, &message);
    if (status != hostsim::kNoErr) {
        ADD_FAILURE() << "cannot import " << file << ": " << message;
        return 0;
    }
    doc.markSaved();
    return box;
}

std::string copySample(const std::string& sample, const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    fs::copy_file(samplePicture(sample), path, fs::copy_options::overwrite_existing);
    return path;
}

hostsim::Document greyPicturesDocument(const std::vector<std::string>& paths, std::vector<hostsim::BoxId>& boxes) {
    hostsim::Document doc = pagesDocument({{"1"}});
    double top = 20.0;
    for (const std::string& path : paths) {
        boxes.push_back(placePicture(doc, 1, hostsim::Rect{top, 20, top + 40, 80}, copySample("grey.tif", path)));
        top += 50.0;
    }
    return doc;
}

std::string writeGreyTiff300(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    hostsim::test::TiffSpec spec;
    spec.width = 600;
    spec.height = 300;
    spec.photometric = 1;  // min-is-black
    spec.samples = 1;
    spec.xres = 300.0F;
    spec.yres = 300.0F;
    hostsim::test::writeTiff(path, spec);
    return path;
}

TemporaryFolderGuard::TemporaryFolderGuard(const std::string& folder) {
    if (const char* old = std::getenv("TMPDIR")) saved_ = old;
    fs::create_directories(folder);
    ::setenv("TMPDIR", folder.c_str(), 1);
}

TemporaryFolderGuard::~TemporaryFolderGuard() {
    if (saved_) {
        ::setenv("TMPDIR", saved_->c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}

}  // namespace lumbrel::integration
