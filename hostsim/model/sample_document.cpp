#include "sample_document.h"

#include <string>
#include <vector>

namespace hostsim {

namespace {

constexpr double kPageWidth = 595.0;
constexpr double kPageHeight = 842.0;

Spread layoutSpread(int pageCount, bool rightOnly, int master, int& pageNumber, bool namedMaster, int masterIndex) {
    Spread spread;
    const int slots = rightOnly ? 2 : pageCount;
    spread.width = kPageWidth * slots;
    spread.height = kPageHeight;
    for (int i = 0; i < pageCount; ++i) {
        Page page;
        page.name = namedMaster ? std::string(1, static_cast<char>('A' + masterIndex % 26)) + std::to_string(i + 1)
                                : std::to_string(pageNumber++);
        page.master = master;
        page.left = kPageWidth * (rightOnly ? 1 : i);
        spread.pages.push_back(page);
    }
    if (namedMaster) spread.name = std::string(1, static_cast<char>('A' + masterIndex % 26)) + "-Master";
    return spread;
}

Picture samplePicture(const SampleSpec& spec, int serial) {
    Picture pic;
    pic.imported = FileStamp{1'700'000'000'000'000'000 + serial, 1000 + serial};
    switch (serial % 3) {
    case 0:
        pic.path = spec.pictureFolder + "/photo-" + std::to_string(serial) + ".tif";
        pic.fileType = kFileTIFF;
        pic.colorSpace = serial % 2 ? kColorRGB : kColorCMYK;
        pic.resolutionH = pic.resolutionV = 300.0;
        pic.pixelWidth = 600;
        pic.pixelHeight = 450;
        pic.bounds = Rect{0, 0, 108.0, 144.0};
        break;
    case 1:
        pic.path = spec.pictureFolder + "/logo-" + std::to_string(serial) + ".eps";
        pic.fileType = kFileEPS;
        pic.colorSpace = kColorCMYK;
        pic.pixelWidth = 200;
        pic.pixelHeight = 100;
        pic.bounds = Rect{0, 0, 100.0, 200.0};
        pic.scaleH = pic.scaleV = 0.5;
        pic.offsetH = 12.25;
        break;
    default: {
        pic.path = spec.pictureFolder + "/ad-" + std::to_string(serial) + ".pdf";
        pic.fileType = kFilePDF;
        PdfInfo info;
        for (int p = 0; p < 3; ++p) {
            PdfPage page;
            page.media = PdfRect{0, 0, 612, 792};
            page.crop = PdfRect{10, 10, 602, 782};
            page.bleed = PdfRect{5, 5, 607, 787};
            page.trim = PdfRect{20.5, 20.5, 591.5, 771.5};
            page.art = page.crop;
            page.rotate = p == 2 ? 90 : 0;
            info.pages.push_back(page);
        }
        info.page = 2;
        info.pageBox = PdfBox::trim;
        pic.pixelWidth = 571;
        pic.pixelHeight = 751;
        pic.bounds = Rect{0, 0, 751.0, 571.0};
        pic.pdf = info;
        break;
    }
    }
    return pic;
}

void fillSpread(Document& doc, int spreadNumber, const SampleSpec& spec, int& serial) {
    const Spread* spread = doc.spread(spreadNumber);
    std::vector<BoxId> made;
    for (int i = 0; i < spec.boxesPerSpread; ++i, ++serial) {
        const int kind = i % 7 == 6 ? kBoxLine : (i % 4 == 3 ? kBoxText : kBoxPicture);
        const double left = 20.0 + (i % 10) * 50.0;
        const double top = 20.0 + (i / 10 % 15) * 50.0;
        const Rect bounds{top, left, top + 40.0 + (i % 3), left + 45.5};
        const BoxId id = doc.addBox(spreadNumber, kind, bounds, i % 5 == 4 ? 6 : kShapeRectangle);
        if (id == 0 || !spread) continue;
        made.push_back(id);
        if (kind == kBoxText) doc.setText(id, "Text " + std::to_string(serial) + "\nzweite Zeile \u00e4\u00f6\u00fc");
        if (kind == kBoxPicture && spec.pictures) doc.setPicture(id, samplePicture(spec, serial));
        if (spec.slugs && i % 2 == 0) {
            doc.setSlug(id, SlugKind::picture, fourCC("bDIC"), "guid-" + std::to_string(serial));
            doc.setSlug(id, SlugKind::box, fourCC("BDIC"), "image-" + std::to_string(serial) + ".tif");
        }
        if (spec.slugs && i % 5 == 1) {
            doc.setSlug(id, SlugKind::box, 0x00010203u, std::string("\0\x01\xFF\x80 bin", 8));
        }
    }
    if (spec.groups && made.size() >= 2) doc.groupBoxes({made[0], made[1]});
}

}  // namespace

Document makeSampleDocument(const SampleSpec& spec) {
    Document doc;
    doc.projectName = "Sample";
    doc.unit = Unit::millimetres;
    doc.pageWidth = kPageWidth;
    doc.pageHeight = kPageHeight;
    doc.facingPages = spec.facingPages;
    int unusedPageNumber = 1;
    for (int m = 0; m < spec.masterSpreads; ++m) {
        doc.addMasterSpread(layoutSpread(spec.facingPages ? 2 : 1, false, 0, unusedPageNumber, true, m));
    }
    int pageNumber = 1;
    const int master = spec.masterSpreads > 0 ? 1 : 0;
    for (int s = 0; s < spec.spreads; ++s) {
        const bool first = s == 0;
        const int pages = spec.facingPages && !first ? 2 : 1;
        doc.addSpread(layoutSpread(pages, spec.facingPages && first, master, pageNumber, false, 0));
    }
    int serial = 0;
    for (int m = 1; m <= spec.masterSpreads; ++m) fillSpread(doc, -m, spec, serial);
    for (int s = 1; s <= spec.spreads; ++s) fillSpread(doc, s, spec, serial);
    doc.setCurrentPage(doc.numPages() > 0 ? 1 : 0);
    if (doc.boxCount() > 0) doc.setCurrentBox(doc.firstBox(doc.numSpreads() > 0 ? 1 : -1));
    doc.markSaved();
    return doc;
}

}  // namespace hostsim
