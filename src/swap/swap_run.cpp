#include "swap/swap_run.h"

#include <string>

#include "host/xt_enumerate.h"
#include "host/xt_pictures.h"
#include "platform/platform_traits.h"
#include "util/bounded.h"
#include "util/log.h"

namespace lumbrel {

namespace {

struct Run {
    SwapOptions* options;
    FileExistsProc exists;
};

// The picture path, empty when the box has none (which finds no twin).
void picturePath(XTBoxID box, char (&path)[kPathSize]) {
    XTGetBoxPath(box, path, sizeof path);
    dprintf("path: %s%s", path, platform::Traits::kLineEnd);
}

bool swapOne(XTBoxID box, std::intptr_t data) {
    auto& run = *reinterpret_cast<Run*>(data);
    SwapOptions& options = *run.options;
    char path[kPathSize];
    picturePath(box, path);
    std::string twin;
    if (options.direction == SwapDirection::HiToLo) {
        twin = findLowResTwin(path, options.rules, run.exists);
    } else if (isLowResPath(path, options.rules.loRes)) {
        twin = findHighResTwin(path, options.rules, run.exists);
    }
    if (!twin.empty() && XTLoadBox(box, twin.c_str()) == XT_NOERR) ++options.swapCount;
    return true;
}

bool countLowRes(XTBoxID box, std::intptr_t data) {
    auto& options = *reinterpret_cast<SwapOptions*>(data);
    char path[kPathSize];
    XTGetBoxPath(box, path, sizeof path);
    if (isLowResPath(path, options.rules.loRes)) ++options.loResCount;
    return true;
}

}  // namespace

void swapPictures(SwapOptions& options, XTBoxID box, FileExistsProc exists) {
    if (options.direction == SwapDirection::None) return;
    if (options.direction == SwapDirection::LoToHi) {
        xt_enumpictboxes(kFirstSpread, kAllSpreads, countLowRes, nullptr, reinterpret_cast<std::intptr_t>(&options));
    }
    Run run{&options, exists};
    if (box != 0) {
        xt_enumpictboxes(box, swapOne, reinterpret_cast<std::intptr_t>(&run));
    } else {
        xt_enumpictboxes(kFirstSpread, kAllSpreads, swapOne, nullptr, reinterpret_cast<std::intptr_t>(&run));
    }
}

}  // namespace lumbrel
