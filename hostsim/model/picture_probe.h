// Picture import: reads a real picture file and tells what a host records of
// it. The type comes from the file's content, never from its name, so a .tif
// holding JPEG data imports as JPEG.
//
// Formats and where each fact comes from:
// - TIFF (libtiff, first image): colour space from the photometric
//   interpretation and the samples (RGB and YCbCr -> QRGB, separated with four
//   colour channels and the CMYK ink set -> QCMK, min-is-black/white -> QGRY,
//   or QBIT at one bit per sample, palette -> QIDX, CIELab/ICCLab/ITULab ->
//   QLAB); resolution from X/YResolution with ResolutionUnit (centimetres
//   converted, no unit or no tag -> 72); strips or tiles that end past the
//   end of the file make it damaged.
// - JPEG (libjpeg): one component -> QGRY, three -> QRGB, four -> QCMK
//   (CMYK or YCCK, with or without the Adobe marker); resolution from the
//   JFIF density (dots per cm converted; aspect-only or no JFIF -> 72). The
//   image is decoded at 1/8 scale to find data that end too early.
// - PNG (libpng): grey -> QGRY (QBIT at one bit), grey+alpha -> QGRY,
//   RGB(A) -> QRGB, palette -> QIDX; resolution from pHYs in pixels per metre
//   (other units -> 72). Every row is read, so cut or corrupt data fail.
// - PDF (qpdf, no recovery of damaged files): page count; for every page the
//   media box and crop box (inherited through the parent page-tree nodes),
//   bleed, trim and art box (the page's own, else the crop box), all cut to
//   the media box, and /Rotate. The picture is the chosen page cut to the
//   chosen box (sides swapped at 90 and 270 degrees), at 72 dpi; colour space 0.
// - EPS (header read directly): a DOS binary header (C5 D0 D3 C6) gives the
//   offset and length of the PostScript part; the bounds come from
//   %%BoundingBox in the header comments, or in the trailer when it says
//   (atend). Colour space rule, first match wins:
//     1. a Photoshop "%ImageData: w h bits mode ..." line: mode 1 -> QGRY (QBIT
//        at one bit), 2 -> QLAB, 3 -> QRGB, 4 -> QCMK; it also gives the pixel
//        size, from which the resolution follows;
//     2. %%DocumentProcessColors in the header (or trailer on (atend)): any of
//        Cyan, Magenta, Yellow -> QCMK; Black alone -> QGRY;
//     3. otherwise QCMK: EPS counts as print-ready CMYK unless it says otherwise.
//   Without %ImageData the resolution is 72 and the pixel size the bounding
//   box in points.
// - PSD (header read directly): colour mode (bitmap -> QBIT, grey and duotone ->
//   QGRY, indexed -> QIDX, RGB -> QRGB, CMYK -> QCMK, Lab -> QLAB, multichannel
//   -> 0); resolution from the ResolutionInfo resource 0x03ED (pixels per inch),
//   else 72; every section length is checked against the file size, and so is
//   the image data of raw and RLE images.
// - GIF (read directly): indexed colour, 72 dpi, the logical screen size; the
//   block structure is walked to the trailer, so a cut file fails.
//
// Raster pictures get bounds of pixels / dpi * 72 points. Pictures larger
// than a 16.16 coordinate can hold are refused, and so are file names that
// are not valid UTF-8 (documents keep paths as UTF-8 text).
#pragma once

#include "document.h"
#include "four_cc.h"
#include "picture.h"

#include <cstddef>
#include <span>
#include <string>

namespace hostsim {

struct ProbeResult {
    int status = kNoErr;  // kNoErr or one of the codes of status.h
    std::string message;  // on failure: the path and what is wrong with the file
    Picture picture;      // on success: everything but scale and offset (100 %, 0)
};

// Reads the file. Never throws; library warnings and errors are caught and
// never printed.
ProbeResult probePicture(const std::string& path, const ImportOptions& options = {});

// The type the first bytes of a file show (at least 8 bytes; PDF headers are
// looked for in the first 1024), kFileTypeNone when none.
FourCC detectFileType(std::span<const unsigned char> head) noexcept;

}  // namespace hostsim
