// The host's optional PDF import module: the options of the next PDF import,
// the options a placed PDF was imported with, page counts. Every wrapper
// answers without calling the host when the module is absent.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// True when start-up found the host's PDF module.
bool pdfModuleActive() noexcept;

// Hands the options for the next PDF import to the module: its status, 0
// when accepted; -1 without the module.
std::int16_t xt_pdfsetoptions(const XTPDFOptions& options);

// The options the box's PDF picture was imported with (page counted from
// 0); false, `options` cleared, without the module or when it cannot tell.
bool xt_pdfgetoptions(XTBoxID box, XTPDFOptions* options);

// The page count of the PDF on an open read stream; 0 when unreadable or
// without the module.
std::int32_t xt_pdfpagecount(XTStreamRef stream);

}  // namespace lumbrel
