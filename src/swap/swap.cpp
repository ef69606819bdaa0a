#include "swap/swap.h"

#include "host/message_box.h"
#include "host/xt_box_content.h"
#include "host/xt_documents.h"
#include "platform/platform_traits.h"
#include "swap/swap_dialog.h"
#include "swap/swap_run.h"
#include "util/files_paths.h"
#include "util/log.h"

namespace lumbrel {

namespace {

bool fileExistsUTF8(const char* path) { return fileExists(path); }

void report(const SwapOptions& options, XTBoxID box) {
    const char* lineEnd = platform::Traits::kLineEnd;
    if (options.direction == SwapDirection::HiToLo) {
        dprintf("swapToLoRes: boxid = %x, sSwapCnt = %d%s", static_cast<unsigned>(box), options.swapCount, lineEnd);
        if (options.swapCount == 1) {
            msgBox("hiToLo1");
        } else {
            msgBox("hiToLoN", options.swapCount);
        }
    } else {
        dprintf("swapToHires: boxid = %x, loResCnt = %d, swapCnt = %s", static_cast<unsigned>(box),
                options.loResCount, lineEnd);
        if (options.swapCount == 1) {
            msgBox("loToHi1", options.loResCount);
        } else {
            msgBox("loToHiN", options.swapCount, options.loResCount);
        }
    }
}

}  // namespace

void doSwap(XTBoxID box) {
    dprintf("doSwap%s", platform::Traits::kLineEnd);
    if (!hasCurrentDocument()) return;
    SwapOptions options;
    options.hasCurrentBox = box != 0;
    runSwapDialog(options);
    if (options.direction != SwapDirection::None) {
        if (!options.selectedOnly) box = 0;
        swapPictures(options, box, fileExistsUTF8);
        report(options, box);
    }
    // Whatever the answer, nothing stays selected and the document shows the result.
    setcurbox(0);
    redrawDoc(0);
}

}  // namespace lumbrel
