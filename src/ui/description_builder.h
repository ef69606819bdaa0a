// Builds a dialog's controls from its XML description.
//
// A description is the resource "<name>" of type "XML" in the current
// language (getResourceData: the name alone, then the language's suffix, then
// English). Its root `window` holds the title `name`, the `rect` "left top
// width height" of the client area on the screen, and `control` elements in
// document order, each with `type`, `id`, `rect`, `text`, `cmd`, `just`,
// `pass`, `multi`, `menu` items, tab labels "text1", "text2", … and the
// texts kept as properties ("sap ", `empt`, `amnt`, `date`, `data`, `pref`,
// `dval`). Element names match without regard to case.
//
// The containers "grpb", "tabs", "rgrp" and "upan" take the controls that
// follow them up to the matching "####" as children, positioned in their
// client area; the whole description sits in one root user pane, closed by
// the description's last "####". A container left open keeps the rest; a
// surplus "####" puts later controls on the shell itself, and further surplus
// ones change nothing (nothing is ever built outside the shell). Containers
// nested deeper than kMaxContainerDepth are skipped with everything inside.
//
// The window-level `name` and `rect` are read from the text before the first
// `control` (the control elements carry their own `rect`); without a window
// `rect` the client area is empty.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/window_system.h"

namespace lumbrel {

// Descriptions larger than this are refused as damaged.
inline constexpr std::size_t kMaxDescriptionBytes = 4 * 1024 * 1024;
// How deep containers may nest, the root pane counted.
inline constexpr int kMaxContainerDepth = 64;
// Pages of one tab control at most; later labels are ignored.
inline constexpr int kMaxTabPages = 256;

// Builds the description `name` into the dialog shell `shell`: sizes and
// places the shell, sets its title, creates the controls (see above) and
// registers the module's window classes first if that was not done. False
// when there is no such description, it is too large, or the shell is no
// window; true otherwise, also when single controls could not be made
// (those are skipped).
bool buildDialog(platform::WindowRef shell, const char* name);

// The same from description text already in memory (a NUL in it ends it).
bool buildDialogFromText(platform::WindowRef shell, std::string_view text);

}  // namespace lumbrel
