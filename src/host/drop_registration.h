// The drag and drop callbacks. The first-item form: the host offers each
// view kind a chance to register drag handlers (callback 1064); the module
// takes layout views. The all-files form: callbacks 531 (entered), 532
// (over) and 534 (drop) on document windows, with the host's drop group.
#pragma once

namespace lumbrel {

// Registers the callbacks of this build's form. False when the host refused
// one (or, for the all-files form, has no drop group).
bool registerDropCallbacks();

}  // namespace lumbrel
