// Imports arbitrary bytes as a picture file: the type comes from the content,
// so one target reaches every reader (TIFF, JPEG, PNG through their
// libraries; EPS, PSD, GIF and the PDF page boxes read here). Checks what
// every import must hold: a failure says why and leaves no picture; a
// picture has its type, a resolution and bounds a coordinate can hold.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

#include "hostsim/model/picture_probe.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// One scratch file per process, rewritten for every input (the readers
// work on files, as a host imports them).
const std::string& scratchFile() {
    static const std::string path = [] {
        std::string name = (std::filesystem::temp_directory_path() / "lumbrel-fuzz-picture-XXXXXX").string();
        const int fd = ::mkstemp(name.data());
        check(fd >= 0);
        ::close(fd);
        return name;
    }();
    static const bool removedAtExit = std::atexit([] { ::unlink(path.c_str()); }) == 0;
    static_cast<void>(removedAtExit);
    return path;
}

void writeScratch(const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(scratchFile().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    check(fd >= 0);
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        check(written > 0);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    ::close(fd);
}

void checkProbe(const hostsim::ProbeResult& result, hostsim::FourCC type) {
    if (result.status != hostsim::kNoErr) {
        check(!result.message.empty());
        check(result.picture.path.empty());
        return;
    }
    const hostsim::Picture& picture = result.picture;
    check(picture.fileType == type);
    check(std::isfinite(picture.resolutionH) && picture.resolutionH > 0);
    check(std::isfinite(picture.resolutionV) && picture.resolutionV > 0);
    check(picture.bounds.valid());
    if (picture.pdf) check(picture.pdf->page >= 1 && picture.pdf->page <= picture.pdf->pageCount());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeScratch(data, size);
    const hostsim::FourCC type = hostsim::detectFileType(std::span<const unsigned char>(data, size));
    checkProbe(hostsim::probePicture(scratchFile()), type);
    // Another page and page box of a PDF: the page tree and the boxes again.
    if (type == hostsim::kFilePDF) {
        checkProbe(hostsim::probePicture(scratchFile(), hostsim::ImportOptions{2, hostsim::PdfBox::trim}), type);
    }
    return 0;
}
