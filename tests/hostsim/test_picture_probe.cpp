// Picture import on real files made here with the picture libraries (TIFF,
// JPEG, PNG) or byte by byte (PDF, PSD, GIF, EPS): type, colour space,
// resolution, pixel size, bounds, PDF page boxes; broken, empty and
// mislabelled files; link status; and nothing printed on the way.
#include "hostsim/picture_files.h"
#include "desktop/files/file_open.h"
#include "model/document.h"
#include "model/document_json.h"
#include "model/picture_probe.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

namespace hostsim {
namespace {

using lumbrel::test::readFile;
using lumbrel::test::TempDir;
using lumbrel::test::writeFile;

// Probes with stderr captured: the libraries must not print.
ProbeResult quietProbe(const std::string& path, const ImportOptions& options = {}) {
    testing::internal::CaptureStderr();
    ProbeResult result = probePicture(path, options);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "") << "probing " << path << " printed to stderr";
    return result;
}

void expectPicture(const ProbeResult& r, FourCC type, FourCC color, double dpiH, double dpiV, std::uint32_t w,
                   std::uint32_t h) {
    ASSERT_EQ(r.status, kNoErr) << r.message;
    EXPECT_EQ(fourCCText(r.picture.fileType), fourCCText(type));
    EXPECT_EQ(fourCCText(r.picture.colorSpace), fourCCText(color));
    EXPECT_NEAR(r.picture.resolutionH, dpiH, 1e-3);
    EXPECT_NEAR(r.picture.resolutionV, dpiV, 1e-3);
    EXPECT_EQ(r.picture.pixelWidth, w);
    EXPECT_EQ(r.picture.pixelHeight, h);
    EXPECT_DOUBLE_EQ(r.picture.bounds.top, 0.0);
    EXPECT_DOUBLE_EQ(r.picture.bounds.left, 0.0);
    EXPECT_DOUBLE_EQ(r.picture.scaleH, 1.0);
}

class PictureProbe : public testing::Test {
protected:
    std::string file(const std::string& name) const { return dir_.file(name); }
    TempDir dir_;
};

TEST_F(PictureProbe, TiffColourSpacesAndResolution) {
    const std::string rgb = file("rgb.tif");
    test::writeTiff(rgb, {.width = 600, .height = 300, .xres = 300.f, .yres = 300.f});
    const ProbeResult r = quietProbe(rgb);
    expectPicture(r, kFileTIFF, kColorRGB, 300, 300, 600, 300);
    EXPECT_DOUBLE_EQ(r.picture.bounds.width(), 144.0);
    EXPECT_DOUBLE_EQ(r.picture.bounds.height(), 72.0);
    EXPECT_EQ(r.picture.path, rgb);
    EXPECT_EQ(r.picture.imported, *fileStamp(rgb));

    const std::string cmyk = file("cmyk.tif");
    test::writeTiff(cmyk, {.width = 100, .height = 50, .photometric = PHOTOMETRIC_SEPARATED, .samples = 4,
                           .inkset = INKSET_CMYK, .xres = 100.f, .yres = 50.f, .unit = RESUNIT_CENTIMETER});
    const ProbeResult c = quietProbe(cmyk);
    expectPicture(c, kFileTIFF, kColorCMYK, 254, 127, 100, 50);
    EXPECT_NEAR(c.picture.bounds.width(), 100 / 254.0 * 72, 1e-9);
    EXPECT_NEAR(c.picture.bounds.height(), 50 / 127.0 * 72, 1e-9);

    const std::string cmyka = file("cmyka.tif");
    test::writeTiff(cmyka, {.photometric = PHOTOMETRIC_SEPARATED, .samples = 5, .extraSamples = 1});
    expectPicture(quietProbe(cmyka), kFileTIFF, kColorCMYK, 72, 72, 6, 4);

    const std::string inks = file("twoinks.tif");
    test::writeTiff(inks, {.photometric = PHOTOMETRIC_SEPARATED, .samples = 2, .inkset = INKSET_MULTIINK});
    expectPicture(quietProbe(inks), kFileTIFF, kColorNone, 72, 72, 6, 4);

    const std::string grey = file("grey.tif");
    test::writeTiff(grey, {.width = 7, .height = 9, .photometric = PHOTOMETRIC_MINISBLACK, .samples = 1});
    expectPicture(quietProbe(grey), kFileTIFF, kColorGray, 72, 72, 7, 9);

    const std::string bitmap = file("bitmap.tif");
    test::writeTiff(bitmap, {.photometric = PHOTOMETRIC_MINISWHITE, .samples = 1, .bits = 1});
    expectPicture(quietProbe(bitmap), kFileTIFF, kColorBitmap, 72, 72, 6, 4);

    const std::string lab = file("lab.tif");
    test::writeTiff(lab, {.photometric = PHOTOMETRIC_CIELAB, .samples = 3});
    expectPicture(quietProbe(lab), kFileTIFF, kColorLab, 72, 72, 6, 4);

    const std::string palette = file("palette.tif");
    test::writeTiff(palette, {.photometric = PHOTOMETRIC_PALETTE, .samples = 1, .bits = 4});
    expectPicture(quietProbe(palette), kFileTIFF, kColorIndexed, 72, 72, 6, 4);

    const std::string rgba = file("rgba.tif");
    test::writeTiff(rgba, {.samples = 4, .extraSamples = 1, .xres = 150.f, .yres = 150.f});
    expectPicture(quietProbe(rgba), kFileTIFF, kColorRGB, 150, 150, 6, 4);

    // Without an absolute unit only the aspect ratio is known: 72 dpi.
    const std::string aspect = file("aspect.tif");
    test::writeTiff(aspect, {.xres = 2.f, .yres = 1.f, .unit = RESUNIT_NONE});
    expectPicture(quietProbe(aspect), kFileTIFF, kColorRGB, 72, 72, 6, 4);

    // One resolution tag stands for both directions.
    const std::string onlyX = file("onlyx.tif");
    test::writeTiff(onlyX, {.xres = 200.f});
    expectPicture(quietProbe(onlyX), kFileTIFF, kColorRGB, 200, 200, 6, 4);
}

TEST_F(PictureProbe, JpegComponentsAndDensity) {
    const std::string grey = file("grey.jpg");
    test::writeJpeg(grey, {.width = 40, .height = 20, .components = 1, .densityX = 200, .densityY = 100});
    const ProbeResult g = quietProbe(grey);
    expectPicture(g, kFileJPEG, kColorGray, 200, 100, 40, 20);
    EXPECT_DOUBLE_EQ(g.picture.bounds.width(), 14.4);
    EXPECT_DOUBLE_EQ(g.picture.bounds.height(), 14.4);

    const std::string rgb = file("rgb.jpg");
    test::writeJpeg(rgb, {.components = 3, .densityUnit = 2, .densityX = 100, .densityY = 100});
    expectPicture(quietProbe(rgb), kFileJPEG, kColorRGB, 254, 254, 16, 8);

    const std::string cmyk = file("cmyk.jpg");
    test::writeJpeg(cmyk, {.components = 4});
    expectPicture(quietProbe(cmyk), kFileJPEG, kColorCMYK, 72, 72, 16, 8);

    const std::string ycck = file("ycck.jpg");
    test::writeJpeg(ycck, {.components = 4, .ycck = true});
    expectPicture(quietProbe(ycck), kFileJPEG, kColorCMYK, 72, 72, 16, 8);

    const std::string aspect = file("aspect.jpg");
    test::writeJpeg(aspect, {.densityUnit = 0, .densityX = 1, .densityY = 2});
    expectPicture(quietProbe(aspect), kFileJPEG, kColorRGB, 72, 72, 16, 8);
}

TEST_F(PictureProbe, PngColourTypesAndPhys) {
    const std::string rgb = file("rgb.png");
    test::writePng(rgb, {.width = 300, .height = 150, .pixelsPerMetre = 11811});
    const ProbeResult r = quietProbe(rgb);
    expectPicture(r, kFilePNG, kColorRGB, 299.9994, 299.9994, 300, 150);
    EXPECT_NEAR(r.picture.bounds.width(), 72.0, 1e-3);

    const std::string rgba = file("rgba.png");
    test::writePng(rgba, {.colorType = PNG_COLOR_TYPE_RGB_ALPHA, .interlaced = true});
    expectPicture(quietProbe(rgba), kFilePNG, kColorRGB, 72, 72, 5, 3);

    const std::string grey = file("grey.png");
    test::writePng(grey, {.colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 16});
    expectPicture(quietProbe(grey), kFilePNG, kColorGray, 72, 72, 5, 3);

    const std::string greyAlpha = file("greyalpha.png");
    test::writePng(greyAlpha, {.colorType = PNG_COLOR_TYPE_GRAY_ALPHA});
    expectPicture(quietProbe(greyAlpha), kFilePNG, kColorGray, 72, 72, 5, 3);

    const std::string bitmap = file("bitmap.png");
    test::writePng(bitmap, {.colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1});
    expectPicture(quietProbe(bitmap), kFilePNG, kColorBitmap, 72, 72, 5, 3);

    const std::string palette = file("palette.png");
    test::writePng(palette, {.colorType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 1});
    expectPicture(quietProbe(palette), kFilePNG, kColorIndexed, 72, 72, 5, 3);
}

void expectRect(const PdfRect& r, double llx, double lly, double urx, double ury) {
    EXPECT_EQ(r, (PdfRect{llx, lly, urx, ury}));
}

TEST_F(PictureProbe, PdfPagesBoxesAndPlacement) {
    const std::string pdf = file("three.pdf");
    writeFile(pdf, test::threePagePdf());
    const ProbeResult r = quietProbe(pdf);
    ASSERT_EQ(r.status, kNoErr) << r.message;
    EXPECT_EQ(r.picture.fileType, kFilePDF);
    EXPECT_EQ(r.picture.colorSpace, kColorNone);
    ASSERT_TRUE(r.picture.pdf);
    const PdfInfo& info = *r.picture.pdf;
    ASSERT_EQ(info.pageCount(), 3);
    EXPECT_EQ(info.page, 1);
    EXPECT_EQ(info.pageBox, PdfBox::media);

    // Page 1: media from the root node, its own crop; bleed, trim and art default to the crop box.
    expectRect(info.pages[0].media, 0, 0, 612, 792);
    expectRect(info.pages[0].crop, 36, 36, 576, 756);
    expectRect(info.pages[0].bleed, 36, 36, 576, 756);
    expectRect(info.pages[0].trim, 36, 36, 576, 756);
    expectRect(info.pages[0].art, 36, 36, 576, 756);
    EXPECT_EQ(info.pages[0].rotate, 0);
    // Page 2: crop and rotation from the inner node; its trim box normalised.
    expectRect(info.pages[1].media, 0, 0, 612, 792);
    expectRect(info.pages[1].crop, 20, 20, 500, 700);
    expectRect(info.pages[1].bleed, 10, 10, 510, 710);
    expectRect(info.pages[1].trim, 30, 30, 400, 600);
    expectRect(info.pages[1].art, 20, 20, 500, 700);
    EXPECT_EQ(info.pages[1].rotate, 90);
    // Page 3: its own media box cuts the inherited crop box and the art box.
    expectRect(info.pages[2].media, 0, 0, 300, 400);
    expectRect(info.pages[2].crop, 20, 20, 300, 400);
    expectRect(info.pages[2].art, 0, 0, 300, 400);
    EXPECT_EQ(info.pages[2].rotate, 0);

    // Page 1's media box at 72 dpi.
    EXPECT_EQ(r.picture.bounds, (Rect{0, 0, 792, 612}));
    EXPECT_EQ(r.picture.pixelWidth, 612u);

    // Page 2 by its trim box, turned by 90 degrees: the sides swap.
    const ProbeResult trimmed = quietProbe(pdf, ImportOptions{2, PdfBox::trim});
    ASSERT_EQ(trimmed.status, kNoErr) << trimmed.message;
    EXPECT_EQ(trimmed.picture.pdf->page, 2);
    EXPECT_EQ(trimmed.picture.pdf->pageBox, PdfBox::trim);
    EXPECT_EQ(trimmed.picture.bounds, (Rect{0, 0, 370, 570}));
    EXPECT_EQ(trimmed.picture.pixelWidth, 570u);
    EXPECT_EQ(trimmed.picture.pixelHeight, 370u);

    // Page 0 counts as page 1; page 4 does not exist.
    EXPECT_EQ(quietProbe(pdf, ImportOptions{0, PdfBox::crop}).picture.pdf->page, 1);
    const ProbeResult missing = quietProbe(pdf, ImportOptions{4, PdfBox::media});
    EXPECT_EQ(missing.status, kErrNoSuchPage);
    EXPECT_NE(missing.message.find("no page 4 (the PDF has 3)"), std::string::npos) << missing.message;
}

TEST_F(PictureProbe, PsdModesResolutionAndCompression) {
    const std::string rgb = file("rgb.psd");
    writeFile(rgb, test::psdFile({.width = 30, .height = 15, .dpi = 150.0}));
    const ProbeResult r = quietProbe(rgb);
    expectPicture(r, kFilePSD, kColorRGB, 150, 150, 30, 15);
    EXPECT_DOUBLE_EQ(r.picture.bounds.width(), 14.4);

    struct Case {
        std::uint16_t mode, channels, depth;
        FourCC color;
    };
    const Case cases[] = {{4, 4, 8, kColorCMYK}, {1, 1, 16, kColorGray}, {0, 1, 1, kColorBitmap},
                          {2, 1, 8, kColorIndexed}, {9, 3, 8, kColorLab}, {8, 1, 8, kColorGray},
                          {7, 2, 8, kColorNone}};
    for (const Case& c : cases) {
        const std::string path = file("mode" + std::to_string(c.mode) + ".psd");
        writeFile(path, test::psdFile({.channels = c.channels, .depth = c.depth, .mode = c.mode, .rle = c.mode == 4}));
        SCOPED_TRACE(path);
        expectPicture(quietProbe(path), kFilePSD, c.color, 72, 72, 8, 5);
    }

    const std::string unknownMode = file("mode5.psd");
    writeFile(unknownMode, test::psdFile({.mode = 5}));
    EXPECT_EQ(quietProbe(unknownMode).status, kErrUnsupportedPicture);
}

TEST_F(PictureProbe, GifIsIndexed) {
    const std::string gif = file("a.gif");
    writeFile(gif, test::gifFile(9, 4));
    const ProbeResult r = quietProbe(gif);
    expectPicture(r, kFileGIF, kColorIndexed, 72, 72, 9, 4);
    EXPECT_DOUBLE_EQ(r.picture.bounds.width(), 9.0);
}

TEST_F(PictureProbe, EpsColourRuleBoundsAndBinaryHeader) {
    struct Case {
        const char* name;
        std::vector<std::string> header, body;
        FourCC color;
    };
    const Case cases[] = {
        {"plain", {"%%BoundingBox: 0 0 200 100", "%%EndComments"}, {}, kColorCMYK},
        {"black", {"%%BoundingBox: 0 0 200 100", "%%DocumentProcessColors: Black", "%%EndComments"}, {}, kColorGray},
        {"cmyk", {"%%BoundingBox: 0 0 200 100", "%%DocumentProcessColors: Black", "%%+ Cyan", "%%EndComments"}, {},
         kColorCMYK},
        // Only the header counts: the comment after %%EndComments is not read.
        {"late", {"%%BoundingBox: 0 0 200 100", "%%EndComments"}, {"%%DocumentProcessColors: Black"}, kColorCMYK},
        {"photoshop-rgb", {"%%BoundingBox: 0 0 200 100", "%%EndComments"}, {"%ImageData: 400 200 8 3 0 1 1 \"beginimage\""},
         kColorRGB},
        {"photoshop-lab", {"%%BoundingBox: 0 0 200 100"}, {"%ImageData: 200 100 8 2 0 1 1 \"x\""}, kColorLab},
        {"photoshop-bitmap", {"%%BoundingBox: 0 0 200 100"}, {"%ImageData: 200 100 1 1 0 1 1 \"x\""}, kColorBitmap},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = file(std::string(c.name) + ".eps");
        writeFile(path, test::epsText(c.header, c.body));
        const ProbeResult r = quietProbe(path);
        ASSERT_EQ(r.status, kNoErr) << r.message;
        EXPECT_EQ(r.picture.fileType, kFileEPS);
        EXPECT_EQ(fourCCText(r.picture.colorSpace), fourCCText(c.color));
        EXPECT_EQ(r.picture.bounds, (Rect{0, 0, 100, 200}));
    }

    // %ImageData gives the pixel size and so the resolution.
    const std::string photoshop = file("photoshop-rgb.eps");
    expectPicture(quietProbe(photoshop), kFileEPS, kColorRGB, 144, 144, 400, 200);
    expectPicture(quietProbe(file("plain.eps")), kFileEPS, kColorCMYK, 72, 72, 200, 100);

    // The bounding box at the end; negative origin; CR line ends.
    const std::string atEnd = file("atend.eps");
    writeFile(atEnd, "%!PS-Adobe-3.0 EPSF-3.0\r%%BoundingBox: (atend)\r%%EndComments\rshowpage\r%%Trailer\r"
                     "%%BoundingBox: -10 -20 90.5 30\r%%EOF\r");
    const ProbeResult e = quietProbe(atEnd);
    ASSERT_EQ(e.status, kNoErr) << e.message;
    EXPECT_EQ(e.picture.bounds, (Rect{0, 0, 50, 100.5}));

    // A DOS binary header: the PostScript part starts at its offset.
    const std::string postscript = test::epsText({"%%BoundingBox: 0 0 72 36", "%%DocumentProcessColors: Black"});
    const std::string binary = file("binary.eps");
    writeFile(binary, test::binaryEps(postscript));
    const ProbeResult b = quietProbe(binary);
    expectPicture(b, kFileEPS, kColorGray, 72, 72, 72, 36);
    EXPECT_EQ(b.picture.bounds, (Rect{0, 0, 36, 72}));
}

TEST_F(PictureProbe, ContentDecidesTheTypeNotTheName) {
    const std::string jpegAsTiff = file("photo.tif");
    test::writeJpeg(jpegAsTiff, {.components = 1});
    expectPicture(quietProbe(jpegAsTiff), kFileJPEG, kColorGray, 72, 72, 16, 8);

    const std::string pngAsJpeg = file("photo.jpg");
    test::writePng(pngAsJpeg, {});
    expectPicture(quietProbe(pngAsJpeg), kFilePNG, kColorRGB, 72, 72, 5, 3);

    // PDF data after some leading bytes.
    const std::string lead = file("lead.pdf");
    writeFile(lead, "garbage\n" + test::threePagePdf());
    const ProbeResult r = quietProbe(lead);
    EXPECT_EQ(r.picture.fileType, kFilePDF) << r.message;
}

void expectFailure(const ProbeResult& r, int status, const std::string& part) {
    EXPECT_EQ(r.status, status) << r.message << " (expected: " << part << ") " << r.picture.path;
    EXPECT_NE(r.message.find(part), std::string::npos) << r.message;
    EXPECT_TRUE(r.picture.path.empty()) << "no half-filled picture";
}

TEST_F(PictureProbe, MissingEmptyUnknownAndFolders) {
    expectFailure(quietProbe(file("none.tif")), kErrFileNotFound, "none.tif");
    expectFailure(quietProbe(""), kErrFileNotFound, "");
    expectFailure(quietProbe(dir_.path().string()), kErrIO, "not a file");
    const std::string empty = file("empty.tif");
    writeFile(empty, "");
    expectFailure(quietProbe(empty), kErrEmptyFile, "empty.tif: the file is empty");
    const std::string text = file("notes.jpg");
    writeFile(text, "just text");
    expectFailure(quietProbe(text), kErrUnknownFormat, "starts with 6A 75 73 74");
    const std::string tiny = file("tiny.png");
    writeFile(tiny, "\x89P");
    expectFailure(quietProbe(tiny), kErrUnknownFormat, "tiny.png");
}

// Cuts a file to `keep` bytes.
void cut(const std::string& path, std::size_t keep) {
    const std::string bytes = readFile(path);
    ASSERT_LT(keep, bytes.size());
    writeFile(path, std::string_view(bytes).substr(0, keep));
}

TEST_F(PictureProbe, TruncatedAndDamagedRasterFiles) {
    // TIFF: libtiff writes the directory at the end, so a cut loses it.
    const std::string tiff = file("cut.tif");
    test::writeTiff(tiff, {.width = 64, .height = 64});
    cut(tiff, readFile(tiff).size() / 2);
    expectFailure(quietProbe(tiff), kErrDamagedPicture, "TIFF");
    // TIFF whose second strip claims more bytes than the file has. (libtiff
    // itself mends a bad count of a single strip, so two strips are needed.)
    const std::string strip = file("strip.tif");
    test::writeTiff(strip, {.width = 8, .height = 8, .rowsPerStrip = 4});
    std::string bytes = readFile(strip);
    ASSERT_TRUE(test::patchTiffTag(bytes, TIFFTAG_STRIPBYTECOUNTS, 1, 1'000'000));
    writeFile(strip, bytes);
    expectFailure(quietProbe(strip), kErrDamagedPicture, "image data cut short (piece 1 of 2");
    // Just the TIFF signature.
    const std::string header = file("header.tif");
    writeFile(header, std::string("II*\0", 4));
    expectFailure(quietProbe(header), kErrDamagedPicture, "TIFF");

    // JPEG cut inside the entropy-coded data, and inside the header.
    const std::string jpeg = file("cut.jpg");
    test::writeJpeg(jpeg, {.width = 256, .height = 256});
    const std::size_t jpegSize = readFile(jpeg).size();
    cut(jpeg, jpegSize * 2 / 3);
    expectFailure(quietProbe(jpeg), kErrDamagedPicture, "image data cut short");
    const std::string jpegHead = file("head.jpg");
    test::writeJpeg(jpegHead, {});
    cut(jpegHead, 40);
    expectFailure(quietProbe(jpegHead), kErrDamagedPicture, "JPEG");

    // PNG cut in the image data, and with a damaged image-data checksum.
    const std::string png = file("cut.png");
    test::writePng(png, {.width = 200, .height = 200});
    cut(png, readFile(png).size() - 30);
    expectFailure(quietProbe(png), kErrDamagedPicture, "PNGf");
    const std::string crc = file("crc.png");
    test::writePng(crc, {.width = 20, .height = 20});
    std::string pngBytes = readFile(crc);
    const std::size_t idat = pngBytes.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    pngBytes[idat + 6] = static_cast<char>(pngBytes[idat + 6] ^ 0x5A);
    writeFile(crc, pngBytes);
    expectFailure(quietProbe(crc), kErrDamagedPicture, "PNGf");
}

TEST_F(PictureProbe, TruncatedAndDamagedOtherFiles) {
    const std::string pdf = file("cut.pdf");
    const std::string full = test::threePagePdf();
    writeFile(pdf, full.substr(0, full.size() / 2));
    expectFailure(quietProbe(pdf), kErrDamagedPicture, "PDF");
    const std::string junk = file("junk.pdf");
    writeFile(junk, "%PDF-1.4\nthis is not a PDF body\n");
    expectFailure(quietProbe(junk), kErrDamagedPicture, "PDF");

    const std::string psd = file("cut.psd");
    const std::string psdBytes = test::psdFile({.width = 40, .height = 40});
    writeFile(psd, psdBytes.substr(0, psdBytes.size() - 10));
    expectFailure(quietProbe(psd), kErrDamagedPicture, "image data cut short");
    const std::string rle = file("cut-rle.psd");
    const std::string rleBytes = test::psdFile({.width = 40, .height = 40, .rle = true});
    writeFile(rle, rleBytes.substr(0, rleBytes.size() - 1));
    expectFailure(quietProbe(rle), kErrDamagedPicture, "image data cut short");
    const std::string psdHead = file("head.psd");
    writeFile(psdHead, psdBytes.substr(0, 20));
    expectFailure(quietProbe(psdHead), kErrDamagedPicture, "header cut short");
    const std::string psdSections = file("sections.psd");
    writeFile(psdSections, psdBytes.substr(0, 40));
    expectFailure(quietProbe(psdSections), kErrDamagedPicture, "section lengths");

    const std::string gif = file("cut.gif");
    const std::string gifBytes = test::gifFile(40, 40);
    writeFile(gif, gifBytes.substr(0, gifBytes.size() - 5));
    expectFailure(quietProbe(gif), kErrDamagedPicture, "GIFf");
    const std::string noTrailer = file("notrailer.gif");
    writeFile(noTrailer, gifBytes.substr(0, gifBytes.size() - 1));
    expectFailure(quietProbe(noTrailer), kErrDamagedPicture, "cut short before the trailer");

    const std::string eps = file("nobox.eps");
    writeFile(eps, test::epsText({"%%Title: no box", "%%EndComments"}));
    expectFailure(quietProbe(eps), kErrDamagedPicture, "no %%BoundingBox");
    const std::string atEnd = file("atend-missing.eps");
    writeFile(atEnd, test::epsText({"%%BoundingBox: (atend)", "%%EndComments"}));
    expectFailure(quietProbe(atEnd), kErrDamagedPicture, "(atend) but none");
    const std::string flat = file("flat.eps");
    writeFile(flat, test::epsText({"%%BoundingBox: 10 10 10 50"}));
    expectFailure(quietProbe(flat), kErrDamagedPicture, "empty %%BoundingBox");
    const std::string binary = file("binary-cut.eps");
    const std::string binaryBytes = test::binaryEps(test::epsText({"%%BoundingBox: 0 0 10 10"}), 0);
    writeFile(binary, binaryBytes.substr(0, binaryBytes.size() - 4));
    expectFailure(quietProbe(binary), kErrDamagedPicture, "points past the end");
    const std::string binaryHead = file("binary-head.eps");
    writeFile(binaryHead, binaryBytes.substr(0, 12));
    expectFailure(quietProbe(binaryHead), kErrDamagedPicture, "binary EPS header cut short");
}

void setMtime(const std::string& path, std::int64_t secondsAhead) {
    std::error_code ec;
    const std::filesystem::file_time_type now = std::filesystem::last_write_time(path, ec);
    ASSERT_FALSE(ec) << ec.message();
    std::filesystem::last_write_time(path, now + std::chrono::seconds(secondsAhead), ec);
    ASSERT_FALSE(ec) << ec.message();
}

TEST_F(PictureProbe, LinkStatusOkModifiedMissing) {
    const std::string path = file("link.tif");
    test::writeTiff(path, {});
    const ProbeResult r = quietProbe(path);
    ASSERT_EQ(r.status, kNoErr) << r.message;
    EXPECT_EQ(linkStatus(r.picture), LinkStatus::ok);
    EXPECT_STREQ(linkStatusText(linkStatus(r.picture)), "OK");

    setMtime(path, 10);
    EXPECT_EQ(linkStatus(r.picture), LinkStatus::modified);
    EXPECT_STREQ(linkStatusText(LinkStatus::modified), "Modified");
    setMtime(path, -10);
    EXPECT_EQ(linkStatus(r.picture), LinkStatus::ok) << "the same time again";

    // Same time, other size.
    std::ofstream(path, std::ios::app) << "x";
    setMtime(path, 0);
    const auto now = fileStamp(path);
    ASSERT_TRUE(now);
    const std::chrono::sys_time<std::chrono::nanoseconds> imported{std::chrono::nanoseconds(r.picture.imported.mtimeNs)};
    std::filesystem::last_write_time(
        path, std::chrono::time_point_cast<std::filesystem::file_time_type::duration>(std::chrono::file_clock::from_sys(imported)));
    EXPECT_EQ(fileStamp(path)->mtimeNs, r.picture.imported.mtimeNs);
    EXPECT_EQ(linkStatus(r.picture), LinkStatus::modified);

    std::filesystem::remove(path);
    EXPECT_EQ(linkStatus(r.picture), LinkStatus::missing);
    EXPECT_STREQ(linkStatusText(LinkStatus::missing), "Missing");
    Picture noPath;
    EXPECT_EQ(linkStatus(noPath), LinkStatus::missing);
}

// One 600 × 800 spread with a single page, for the import tests.
Spread onePageSpread() {
    Spread spread;
    spread.width = 600;
    spread.height = 800;
    spread.pages.push_back(Page{"1", 0, 0, 0});
    return spread;
}

TEST_F(PictureProbe, ImportIntoBoxes) {
    Document doc;
    ASSERT_EQ(doc.addSpread(onePageSpread()), 1);
    const BoxId box = doc.addBox(1, kBoxPicture, Rect{10, 10, 110, 110});
    const BoxId text = doc.addBox(1, kBoxText, Rect{10, 10, 110, 110});
    const std::string cmyk = file("cmyk.tif");
    test::writeTiff(cmyk, {.photometric = PHOTOMETRIC_SEPARATED, .samples = 4, .xres = 300.f, .yres = 300.f});
    const std::string pdf = file("three.pdf");
    writeFile(pdf, test::threePagePdf());

    doc.markSaved();
    std::string message;
    EXPECT_EQ(doc.importPicture(text, cmyk, {}, &message), kErrParam);
    EXPECT_EQ(message, "box " + std::to_string(text) + " is not a picture box");
    EXPECT_EQ(doc.importPicture(999, cmyk), kErrParam);
    EXPECT_EQ(doc.changeState, kChangeStateUnchanged);

    ASSERT_EQ(doc.importPicture(box, cmyk), kNoErr);
    EXPECT_EQ(doc.changeState, kChangeStateChanged);
    EXPECT_EQ(doc.findBox(box)->picture()->colorSpace, kColorCMYK);
    ASSERT_EQ(doc.setSlug(box, SlugKind::picture, fourCC("bDIC"), "id-1"), kNoErr);

    // A failed import leaves the earlier picture in place.
    EXPECT_EQ(doc.importPicture(box, file("gone.tif"), {}, &message), kErrFileNotFound);
    EXPECT_NE(message.find("gone.tif"), std::string::npos);
    EXPECT_EQ(doc.findBox(box)->picture()->path, cmyk);

    // A new picture replaces it; the picture slugs stay.
    ASSERT_EQ(doc.importPicture(box, pdf, ImportOptions{3, PdfBox::crop}), kNoErr);
    const Picture& placed = *doc.findBox(box)->picture();
    EXPECT_EQ(placed.fileType, kFilePDF);
    EXPECT_EQ(placed.pdf->page, 3);
    EXPECT_EQ(placed.bounds, (Rect{0, 0, 380, 280}));
    EXPECT_EQ(*doc.slug(box, SlugKind::picture, fourCC("bDIC")), "id-1");
    EXPECT_EQ(doc.importPicture(box, pdf, ImportOptions{4, PdfBox::crop}), kErrNoSuchPage);
    EXPECT_EQ(doc.fitPicture(box, kFitProportional), kNoErr);
    EXPECT_NEAR(doc.findBox(box)->picture()->scaleV, 100.0 / 380.0, 1e-12);
}

// Names with "Ä", "é" and a character outside the BMP (U+1D11E, a surrogate
// pair in UTF-16), in a folder named so too, reach every picture library and
// the layout file by their UTF-8 text: on Windows they are wide names, which
// the narrow functions would have read in the ANSI code page.
TEST_F(PictureProbe, NamesOutsideAsciiReachEveryLibraryAndTheLayoutFile) {
    const std::string folder = dir_.text() + "/Bilder \xC3\x84\xC3\xA9\xF0\x9D\x84\x9E";
    std::error_code made;
    ASSERT_TRUE(std::filesystem::create_directory(desktop::files::pathOf(folder), made)) << made.message();
    struct Case {
        const char* name;
        FourCC type;
        void (*write)(const std::string&);
    };
    const Case cases[] = {
        {"\xC3\x84rger.tif", kFileTIFF, [](const std::string& p) { test::writeTiff(p, {}); }},
        {"caf\xC3\xA9.jpg", kFileJPEG, [](const std::string& p) { test::writeJpeg(p, {}); }},
        {"\xF0\x9D\x84\x9E.png", kFilePNG, [](const std::string& p) { test::writePng(p, {}); }},
        {"\xC3\x84-\xC3\xA9-\xF0\x9D\x84\x9E.pdf", kFilePDF, [](const std::string& p) { test::writeBytes(p, test::threePagePdf()); }},
    };
    Document doc;
    ASSERT_EQ(doc.addSpread(onePageSpread()), 1);
    std::vector<std::pair<BoxId, std::string>> placed;
    for (const Case& c : cases) {
        const std::string path = folder + "/" + c.name;
        SCOPED_TRACE(path);
        c.write(path);
        ASSERT_TRUE(std::filesystem::is_regular_file(desktop::files::pathOf(path))) << "written under its own name";
        const ProbeResult r = quietProbe(path);
        ASSERT_EQ(r.status, kNoErr) << r.message;
        EXPECT_EQ(fourCCText(r.picture.fileType), fourCCText(c.type));
        ASSERT_TRUE(fileStamp(path));
        EXPECT_EQ(r.picture.imported, *fileStamp(path));
        EXPECT_EQ(linkStatus(r.picture), LinkStatus::ok);
        const BoxId box = doc.addBox(1, kBoxPicture, Rect{10, 10, 110, 110});
        ASSERT_EQ(doc.importPicture(box, path), kNoErr);
        placed.emplace_back(box, path);
    }
    const std::string layout = folder + "/Layout \xC3\x84\xC3\xA9\xF0\x9D\x84\x9E.json";
    std::string error;
    ASSERT_TRUE(saveDocument(doc, layout, &error)) << error;
    const LoadResult loaded = loadDocument(layout);
    ASSERT_TRUE(loaded.document) << loaded.error;
    for (const auto& [box, path] : placed) {
        const Box* found = loaded.document->findBox(box);
        ASSERT_NE(found, nullptr);
        ASSERT_TRUE(found->picture());
        EXPECT_EQ(found->picture()->path, path);
        EXPECT_EQ(linkStatus(*found->picture()), LinkStatus::ok);
    }
}

// A file name in another encoding than UTF-8 could be placed but never
// saved: it is refused at import with a readable name, the box keeps its
// picture and the document still saves.
TEST_F(PictureProbe, FileNamesThatAreNotUtf8AreRefusedAtImport) {
    Document doc;
    ASSERT_EQ(doc.addSpread(onePageSpread()), 1);
    const BoxId box = doc.addBox(1, kBoxPicture, Rect{10, 10, 110, 110});
    const std::string good = file("caf\xC3\xA9.tif");
    test::writeTiff(good, {});
    // The C library and the file system library must both take the name as UTF-8.
    std::FILE* opened = std::fopen(good.c_str(), "rb");
    if (opened != nullptr) std::fclose(opened);
    if (opened == nullptr || !fileStamp(good)) {
        GTEST_SKIP() << "narrow file names are not UTF-8 on this system (the Windows host opens files by wide names)";
    }
    ASSERT_EQ(doc.importPicture(box, good), kNoErr);
    struct Case {
        const char* name;
        const char* shown;
    };
    for (const Case& c : {Case{"caf\xE9.tif", "caf\\xE9.tif"}, Case{"\xFF\xFE.tif", "\\xFF\\xFE.tif"},
                          Case{"a\xC3(\xC3\xA9.tif", "a\\xC3(\xC3\xA9.tif"}, Case{"\xED\xA0\x80.tif", "\\xED\\xA0\\x80.tif"}}) {
        const std::string bad = file(c.name);
        test::writeTiff(bad, {});
        std::string message;
        EXPECT_EQ(doc.importPicture(box, bad, {}, &message), kErrBadFileName);
        EXPECT_EQ(message, dir_.path().string() + "/" + c.shown + ": the file name is not valid UTF-8; rename the file to import it");
        EXPECT_EQ(doc.findBox(box)->picture()->path, good);
    }
    std::string error;
    EXPECT_TRUE(saveDocument(doc, file("saved.json"), &error)) << error;
}

TEST(PictureTypes, DetectFromFirstBytes) {
    auto detect = [](std::string_view bytes) {
        return detectFileType(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    };
    using namespace std::string_view_literals;
    EXPECT_EQ(detect("MM\0*\0\0\0\x08"sv), kFileTIFF);
    EXPECT_EQ(detect("II+\0"sv), kFileTIFF);
    EXPECT_EQ(detect("\xFF\xD8\xFF\xE0"sv), kFileJPEG);
    EXPECT_EQ(detect("8BPS\0\x01"sv), kFilePSD);
    EXPECT_EQ(detect("GIF87a"sv), kFileGIF);
    EXPECT_EQ(detect("GIF88a"sv), kFileTypeNone);
    EXPECT_EQ(detect("%!PS-Adobe-3.0"sv), kFileEPS);
    EXPECT_EQ(detect(""sv), kFileTypeNone);
    EXPECT_EQ(detect("%PDF"sv), kFileTypeNone);
    std::string late(1019, ' ');
    EXPECT_EQ(detect(late + "%PDF-"), kFilePDF);
    EXPECT_EQ(detect(late + " %PDF-"), kFileTypeNone) << "only the first 1024 bytes count";
}

}  // namespace
}  // namespace hostsim
