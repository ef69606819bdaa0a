// "xtpicture": the pictures of picture boxes: path, colour space,
// resolution, link status, size, fitting, re-reading the file, clipping.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/host_flavour.h"
#include "hostsim/host/runtime.h"

#include "hostsim/model/picture_probe.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtpicture";

// The picture of a box of the current document, nullptr when it has none.
const Picture* pictureOf(Runtime& rt, XTBoxID box) {
    const Box* b = rt.currentDocument()->findBox(box);
    if (b == nullptr || !b->isPicture() || !b->picture()) return nullptr;
    return &*b->picture();
}

std::int32_t picturePath(XTBoxID box, char* buffer, std::int32_t size) {
    return hostCall<std::int32_t>(G, "picturePath", kNeedDocument, 0, [=](Runtime& rt) {
        if (buffer == nullptr && size > 0) {
            rt.violation(G, "picturePath", "got no buffer");
            return 0;
        }
        const Picture* picture = pictureOf(rt, box);
        return copyOut(picture != nullptr ? std::string_view(picture->path) : std::string_view(), buffer, size);
    });
}

OSType colorSpace(XTBoxID box) {
    return hostCall<OSType>(G, "colorSpace", kNeedDocument, 0, [box](Runtime& rt) {
        const Picture* picture = pictureOf(rt, box);
        return picture != nullptr ? picture->colorSpace : OSType{0};
    });
}

double resolution(XTBoxID box) {
    return hostCall<double>(G, "resolution", kNeedDocument, 0.0, [box](Runtime& rt) {
        const Picture* picture = pictureOf(rt, box);
        return picture != nullptr ? picture->resolutionH : 0.0;
    });
}

std::int16_t status(XTBoxID box, char* text, std::int32_t size) {
    return hostCall<std::int16_t>(G, "status", kNeedDocument, -1, [=](Runtime& rt) {
        const Picture* picture = pictureOf(rt, box);
        if (picture == nullptr) {
            if (text != nullptr) copyOut("", text, size);
            return std::int16_t{-1};
        }
        const LinkStatus link = linkStatus(*picture);
        if (text != nullptr) copyOut(linkStatusText(link), text, size);
        return static_cast<std::int16_t>(link);
    });
}

XTError pictureBounds(XTBoxID box, XTFixedRect* bounds) {
    return hostCall<XTError>(G, "pictureBounds", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (bounds == nullptr) {
            rt.violation(G, "pictureBounds", "got no rectangle");
            return XTError{XT_PARAMERR};
        }
        const Picture* picture = pictureOf(rt, box);
        if (picture == nullptr) return XTError{XT_PARAMERR};
        const FixedRect r = toFixedRect(picture->bounds);
        *bounds = XTFixedRect{r.top, r.left, r.bottom, r.right};
        return XTError{XT_NOERR};
    });
}

XTError fitPicture(XTBoxID box, std::int16_t mode, std::int16_t flag) {
    return hostCall<XTError>(G, "fitPicture", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        const int answer = rt.currentDocument()->fitPicture(box, mode, flag);
        if (answer == kNoErr) rt.redrawPending = true;
        if (kWindowsHost) {
            rt.note("picture of box " + std::to_string(box) + " fitted (mode " + std::to_string(mode) + ", flag " +
                    std::to_string(flag) + ")");
        }
        return XTError{answer};
    });
}

XTError updatePicture(XTBoxID box, std::int16_t option) {
    static_cast<void>(option);
    return hostCall<XTError>(G, "updatePicture", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        Document& doc = *rt.currentDocument();
        const Picture* picture = pictureOf(rt, box);
        if (picture == nullptr) return XTError{XT_PARAMERR};
        // Read the same file again; the picture keeps its place and scale in the box.
        const Picture before = *picture;
        ImportOptions options;
        if (before.pdf) {
            options.pdfPage = before.pdf->page;
            options.pdfBox = before.pdf->pageBox;
        }
        std::string message;
        const int answer = doc.importPicture(box, before.path, options, &message);
        if (answer != kNoErr) {
            rt.note("update of the picture of box " + std::to_string(box) + " failed: " + std::to_string(answer) +
                    (message.empty() ? "" : " (" + message + ")"));
            return XTError{answer};
        }
        if (Picture* after = doc.editPicture(box)) {
            after->scaleH = before.scaleH;
            after->scaleV = before.scaleV;
            after->offsetH = before.offsetH;
            after->offsetV = before.offsetV;
        }
        rt.note("picture of box " + std::to_string(box) + " updated from \"" + before.path + "\"");
        rt.redrawPending = true;
        return XTError{XT_NOERR};
    });
}

XTError setupClipping(XTBoxID box) {
    return hostCall<XTError>(G, "setupClipping", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (pictureOf(rt, box) == nullptr) return XTError{XT_PARAMERR};
        if (kWindowsHost) rt.note("clipping of box " + std::to_string(box) + " set up");
        return XTError{XT_NOERR};
    });
}

double resolutionV(XTBoxID box) {
    return hostCall<double>(G, "resolutionV", kNeedDocument, 0.0, [box](Runtime& rt) {
        const Picture* picture = pictureOf(rt, box);
        return picture != nullptr ? picture->resolutionV : 0.0;
    });
}

XTError pictureScale(XTBoxID box, Fixed* horizontal, Fixed* vertical) {
    return hostCall<XTError>(G, "pictureScale", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (horizontal == nullptr || vertical == nullptr) {
            rt.violation(G, "pictureScale", "got no place for the answer");
            return XTError{XT_PARAMERR};
        }
        const Picture* picture = pictureOf(rt, box);
        if (picture == nullptr) return XTError{XT_PARAMERR};
        *horizontal = scaleToFixed(picture->scaleH);
        *vertical = scaleToFixed(picture->scaleV);
        return XTError{XT_NOERR};
    });
}

const XTPictureGroup kTable{sizeof(XTPictureGroup), picturePath,   colorSpace,  resolution,
                            status,                 pictureBounds, fitPicture,  updatePicture,
                            setupClipping,          resolutionV,   pictureScale};

}  // namespace

const XTPictureGroup& pictureGroupTable() { return kTable; }

}  // namespace hostsim
