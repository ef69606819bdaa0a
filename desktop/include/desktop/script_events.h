// Scripting requests from other programs, the host's side: delivers a
// request (an Apple event of a class and id with an optional text direct
// parameter on the Mac) to the handler a module installed through the
// platform interface, and hands back the reply text it set.
//
// The handlers live as long as the process; Desktop::reset() leaves them.
// A host that unloads a module removes them first (removeAllScriptHandlers),
// since they point into the module's code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace desktop {

// The reply the handler set, nullopt when no handler is installed for that
// class and id or the handler set no reply. A handler that sets the reply
// twice keeps the first.
std::optional<std::string> sendScriptEvent(std::uint32_t eventClass, std::uint32_t eventID,
                                           const std::optional<std::string>& directText);

bool scriptHandlerInstalled(std::uint32_t eventClass, std::uint32_t eventID);
void removeAllScriptHandlers();

}  // namespace desktop
