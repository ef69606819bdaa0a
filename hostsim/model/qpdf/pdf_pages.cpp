// PDF through qpdf. Recovery of damaged files is off, so a cut or broken
// file fails with qpdf's reason instead of being patched up quietly; qpdf's
// warnings are suppressed (they would go to stderr). qpdf reports by
// exceptions, which end here.
#define POINTERHOLDER_TRANSITION 4
#include "pdf_pages.h"

#include "desktop/files/file_open.h"

#include <qpdf/Constants.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <new>
#include <optional>

namespace hostsim::pdf {

namespace {

// A page tree deeper than this is taken as a loop.
constexpr int kMaxTreeDepth = 256;

std::optional<Box> boxOf(QPDFObjectHandle value) {
    if (!value.isArray() || value.getArrayNItems() != 4) return std::nullopt;
    double n[4];
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = value.getArrayItem(i);
        if (!item.isNumber()) return std::nullopt;
        n[i] = item.getNumericValue();
        if (!std::isfinite(n[i])) return std::nullopt;
    }
    return Box{std::min(n[0], n[2]), std::min(n[1], n[3]), std::max(n[0], n[2]), std::max(n[1], n[3])};
}

// The value of an inheritable page attribute: the page's own, else the
// nearest parent page-tree node's.
QPDFObjectHandle inherited(QPDFObjectHandle node, const std::string& key) {
    for (int depth = 0; depth < kMaxTreeDepth && node.isDictionary(); ++depth) {
        if (node.hasKey(key)) return node.getKey(key);
        node = node.getKey("/Parent");
    }
    return QPDFObjectHandle::newNull();
}

Box clipTo(const Box& box, const Box& media) {
    const Box cut{std::max(box.llx, media.llx), std::max(box.lly, media.lly), std::min(box.urx, media.urx),
                  std::min(box.ury, media.ury)};
    return cut.llx <= cut.urx && cut.lly <= cut.ury ? cut : media;
}

// Media and crop box and rotation are inherited through the page tree;
// bleed, trim and art box are the page's own, else the crop box.
bool readPage(QPDFObjectHandle page, PageBoxes& out) {
    const auto media = boxOf(inherited(page, "/MediaBox"));
    if (!media) return false;
    out.media = *media;
    out.crop = clipTo(boxOf(inherited(page, "/CropBox")).value_or(*media), *media);
    out.bleed = clipTo(boxOf(page.getKey("/BleedBox")).value_or(out.crop), *media);
    out.trim = clipTo(boxOf(page.getKey("/TrimBox")).value_or(out.crop), *media);
    out.art = clipTo(boxOf(page.getKey("/ArtBox")).value_or(out.crop), *media);
    QPDFObjectHandle rotate = inherited(page, "/Rotate");
    long long degrees = rotate.isInteger() ? rotate.getIntValue() : 0;
    degrees %= 360;
    if (degrees < 0) degrees += 360;
    out.rotate = degrees % 90 == 0 ? static_cast<int>(degrees) : 0;
    return true;
}

template <typename Process>
Pages readWith(Process&& process) {
    Pages result;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.setAttemptRecovery(false);
        process(pdf);
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (pages.empty()) {
            result.outcome = Outcome::damaged;
            result.message = "the PDF has no pages";
            return result;
        }
        result.pages.resize(pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (!readPage(pages[i].getObjectHandle(), result.pages[i])) {
                result.pages.clear();
                result.outcome = Outcome::damaged;
                result.message = "page " + std::to_string(i + 1) + " has no valid MediaBox";
                return result;
            }
        }
    } catch (const QPDFExc& error) {
        result.pages.clear();
        result.outcome = error.getErrorCode() == qpdf_e_password ? Outcome::password : Outcome::damaged;
        result.message = error.what();
    } catch (const std::bad_alloc&) {
        result.pages.clear();
        result.outcome = Outcome::noMemory;
    } catch (const std::exception& error) {
        result.pages.clear();
        result.outcome = Outcome::damaged;
        result.message = error.what();
    }
    return result;
}

}  // namespace

Pages readPages(const std::string& path) {
    // qpdf would open a narrow name itself: the host's helper opens it by its UTF-8 name.
    std::FILE* file = desktop::files::openToRead(path);
    if (file == nullptr) {
        Pages result;
        result.outcome = Outcome::damaged;
        result.message = "cannot open " + path + ": " + std::strerror(errno);
        return result;
    }
    Pages result = readPages(file, path);
    std::fclose(file);
    return result;
}

Pages readPages(std::FILE* file, const std::string& description) {
    if (file == nullptr) {
        Pages result;
        result.outcome = Outcome::damaged;
        result.message = "no file";
        return result;
    }
    return readWith([&](QPDF& pdf) {
        std::rewind(file);
        pdf.processFile(description.c_str(), file, false);
    });
}

}  // namespace hostsim::pdf
