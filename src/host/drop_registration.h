// The drag and drop callbacks: the host offers each view kind a chance to
// register drag handlers (callback 1064); the module takes layout views.
#pragma once

namespace lumbrel {

// Registers callback 1064. False when the host refused it.
bool registerDropCallbacks();

}  // namespace lumbrel
