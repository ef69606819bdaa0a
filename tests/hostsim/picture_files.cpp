#include "hostsim/picture_files.h"

#include "desktop/files/file_replace.h"
#include "model/tiff_open.h"

#include <tiffio.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <cstring>
#include <stdexcept>

namespace hostsim::test {

void writeBytes(const std::string& path, std::string_view bytes) {
    std::string reason;
    if (!desktop::files::replaceFile(path, bytes, reason)) throw std::runtime_error("cannot write " + path + ": " + reason);
}

void writeTiff(const std::string& path, const TiffSpec& spec) {
    // Files are named by UTF-8 text, as the host takes them (wide names on Windows).
    TIFF* tif = openTiff(path, "w", nullptr);
    if (!tif) throw std::runtime_error("cannot write " + path);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, spec.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, spec.height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, spec.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, spec.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, spec.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, spec.rowsPerStrip ? spec.rowsPerStrip : spec.height);
    if (spec.extraSamples) {
        std::vector<std::uint16_t> kinds(spec.extraSamples, EXTRASAMPLE_ASSOCALPHA);
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, spec.extraSamples, kinds.data());
    }
    if (spec.inkset) TIFFSetField(tif, TIFFTAG_INKSET, spec.inkset);
    if (spec.xres) TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<double>(*spec.xres));
    if (spec.yres) TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<double>(*spec.yres));
    if (spec.xres || spec.yres) TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, spec.unit);
    std::vector<std::uint16_t> map;
    if (spec.photometric == PHOTOMETRIC_PALETTE) {
        map.assign(std::size_t{1} << spec.bits, 0);
        TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
    }
    const std::size_t rowBytes = (std::size_t{spec.width} * spec.samples * spec.bits + 7) / 8;
    std::vector<unsigned char> row(rowBytes, 0x40);
    for (std::uint32_t y = 0; y < spec.height; ++y) TIFFWriteScanline(tif, row.data(), y, 0);
    TIFFClose(tif);
}

void writeJpeg(const std::string& path, const JpegSpec& spec) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(spec.width);
    info.image_height = static_cast<JDIMENSION>(spec.height);
    info.input_components = spec.components;
    info.in_color_space = spec.components == 1 ? JCS_GRAYSCALE : spec.components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    if (spec.components == 4) jpeg_set_colorspace(&info, spec.ycck ? JCS_YCCK : JCS_CMYK);
    info.density_unit = static_cast<UINT8>(spec.densityUnit);
    info.X_density = static_cast<UINT16>(spec.densityX);
    info.Y_density = static_cast<UINT16>(spec.densityY);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(spec.width * spec.components), 0x80);
    for (int y = 0; y < spec.height; ++y) {
        row[0] = static_cast<unsigned char>(y * 13);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    writeBytes(path, std::string_view(reinterpret_cast<const char*>(buffer), size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
}

void writePng(const std::string& path, const PngSpec& spec) {
    std::string reason;
    std::FILE* file = desktop::files::openToRewrite(path, reason);
    if (!file) throw std::runtime_error("cannot write " + path + ": " + reason);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[2] = {{0, 0, 0}, {255, 255, 255}};
        png_set_PLTE(png, info, palette, 2);
    }
    if (spec.pixelsPerMetre) {
        png_set_pHYs(png, info, *spec.pixelsPerMetre, *spec.pixelsPerMetre, PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    int channels = 1;
    if (spec.colorType == PNG_COLOR_TYPE_RGB) channels = 3;
    if (spec.colorType == PNG_COLOR_TYPE_RGB_ALPHA) channels = 4;
    if (spec.colorType == PNG_COLOR_TYPE_GRAY_ALPHA) channels = 2;
    const std::size_t rowBytes = (std::size_t{spec.width} * static_cast<std::size_t>(channels * spec.bitDepth) + 7) / 8;
    std::vector<unsigned char> row(rowBytes, 0);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (std::uint32_t y = 0; y < spec.height; ++y) png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

std::string threePagePdf() {
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 3 /MediaBox [0 0 612 792] >>",
        // Page 1: the root's media box, a crop box of its own.
        "<< /Type /Page /Parent 2 0 R /CropBox [36 36 576 756] >>",
        // Inner node: a crop box and a rotation for its pages.
        "<< /Type /Pages /Parent 2 0 R /Kids [5 0 R 6 0 R] /Count 2 /CropBox [20 20 500 700] /Rotate 90 >>",
        // Page 2: inherited media, crop and rotation; bleed and trim of its own (written upside down).
        "<< /Type /Page /Parent 4 0 R /TrimBox [400 600 30 30] /BleedBox [10 10 510 710] >>",
        // Page 3: a media box of its own that cuts the inherited crop box; art box larger than the media box.
        "<< /Type /Page /Parent 4 0 R /MediaBox [0 0 300 400] /ArtBox [-10 -10 1000 1000] /Rotate 0 >>",
    };
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

namespace {

void be16(std::string& out, std::uint32_t v) {
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}
void be32(std::string& out, std::uint32_t v) {
    be16(out, v >> 16);
    be16(out, v & 0xFFFF);
}
void le16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void le32(std::string& out, std::uint32_t v) {
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

}  // namespace

std::string psdFile(const PsdSpec& spec) {
    std::string out = "8BPS";
    be16(out, 1);
    out.append(6, '\0');
    be16(out, spec.channels);
    be32(out, spec.height);
    be32(out, spec.width);
    be16(out, spec.depth);
    be16(out, spec.mode);
    if (spec.mode == 2) {  // indexed: a 768-byte colour table
        be32(out, 768);
        out.append(768, '\x10');
    } else {
        be32(out, 0);
    }
    std::string resources;
    // An unrelated resource first, with an odd-length name, so the walk must pad.
    resources += "8BIM";
    be16(resources, 0x0404);
    resources += '\x03';
    resources += "abc";
    be32(resources, 3);
    resources += "xyz";
    resources += '\0';
    if (spec.dpi) {
        resources += "8BIM";
        be16(resources, 0x03ED);
        resources += std::string(2, '\0');
        be32(resources, 16);
        const auto fixed = static_cast<std::uint32_t>(*spec.dpi * 65536.0);
        be32(resources, fixed);
        be16(resources, 1);
        be16(resources, 2);
        be32(resources, fixed);
        be16(resources, 1);
        be16(resources, 2);
    }
    be32(out, static_cast<std::uint32_t>(resources.size()));
    out += resources;
    be32(out, 0);  // no layers
    const std::size_t rowBytes = (std::size_t{spec.width} * spec.depth + 7) / 8;
    const std::size_t rows = std::size_t{spec.channels} * spec.height;
    if (spec.rle) {
        be16(out, 1);
        // Each row: one literal run of the whole row when it fits in 128 bytes.
        for (std::size_t r = 0; r < rows; ++r) be16(out, static_cast<std::uint32_t>(rowBytes + 1));
        for (std::size_t r = 0; r < rows; ++r) {
            out += static_cast<char>(rowBytes - 1);
            out.append(rowBytes, '\x22');
        }
    } else {
        be16(out, 0);
        out.append(rows * rowBytes, '\x22');
    }
    return out;
}

std::string gifFile(std::uint16_t width, std::uint16_t height) {
    std::string out = "GIF89a";
    le16(out, width);
    le16(out, height);
    out += '\x80';  // global colour table of two entries
    out += '\0';
    out += '\0';
    out += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
    // A comment extension, to be skipped.
    out += "\x21\xFE";
    out += '\x05';
    out += "hello";
    out += '\0';
    out += '\x2C';
    le16(out, 0);
    le16(out, 0);
    le16(out, width);
    le16(out, height);
    out += '\0';
    // LZW with a minimum code size of 2: codes of 3 bits, clear = 4, end = 5.
    // A clear code before every pixel keeps the code size at 3 bits.
    out += '\x02';
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    auto put = [&](std::uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    for (std::uint32_t i = 0; i < std::uint32_t{width} * height; ++i) {
        put(4);
        put(i % 2);
    }
    put(5);
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    out += '\x3B';
    return out;
}

std::string epsText(const std::vector<std::string>& header, const std::vector<std::string>& body) {
    std::string text = "%!PS-Adobe-3.0 EPSF-3.0\n";
    for (const auto& line : header) text += line + "\n";
    for (const auto& line : body) text += line + "\n";
    return text;
}

std::string binaryEps(const std::string& postscript, std::uint32_t previewBytes) {
    std::string out = "\xC5\xD0\xD3\xC6";
    le32(out, 30);
    le32(out, static_cast<std::uint32_t>(postscript.size()));
    le32(out, 0);
    le32(out, 0);
    le32(out, previewBytes ? static_cast<std::uint32_t>(30 + postscript.size()) : 0);
    le32(out, previewBytes);
    le16(out, 0xFFFF);
    out += postscript;
    out.append(previewBytes, '\x55');
    return out;
}

bool patchTiffTag(std::string& bytes, std::uint16_t tag, std::uint32_t index, std::uint32_t value) {
    auto u16 = [&](std::size_t at) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                          (static_cast<unsigned char>(bytes[at + 1]) << 8));
    };
    auto u32 = [&](std::size_t at) { return std::uint32_t{u16(at)} | (std::uint32_t{u16(at + 2)} << 16); };
    if (bytes.size() < 8 || bytes.compare(0, 2, "II") != 0) return false;
    const std::size_t ifd = u32(4);
    if (ifd + 2 > bytes.size()) return false;
    const std::uint16_t entries = u16(ifd);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = ifd + 2 + 12 * i;
        if (at + 12 > bytes.size()) return false;
        if (u16(at) != tag) continue;
        const std::uint16_t type = u16(at + 2);
        const std::uint32_t count = u32(at + 4);
        const std::size_t size = type == 3 ? 2 : 4;
        if ((type != 3 && type != 4) || index >= count) return false;
        const std::size_t values = count * size <= 4 ? at + 8 : u32(at + 8);
        const std::size_t where = values + index * size;
        if (where + size > bytes.size()) return false;
        std::string patched;
        if (size == 2) {
            le16(patched, value);
        } else {
            le32(patched, value);
        }
        bytes.replace(where, size, patched);
        return true;
    }
    return false;
}

}  // namespace hostsim::test
