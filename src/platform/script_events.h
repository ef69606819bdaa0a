// Scripting requests from other programs (Apple events on the Mac): a
// handler is installed per event class and id and answers each request's
// text with a reply text.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel::platform {

struct ScriptRequest {
    const char* text = nullptr;  // the request's direct parameter, UTF-8; null when it has none
    std::size_t length = 0;
};

// Receives the reply: the handler calls it at most once.
struct ScriptReply {
    void (*set)(void* context, const char* text, std::size_t length) = nullptr;
    void* context = nullptr;
};

using ScriptHandler = void (*)(const ScriptRequest& request, const ScriptReply& reply);

// Installs `handler` for events of that class and id (replacing an earlier
// one); false when the platform cannot take it. Windows hosts send no such
// events: there it always answers false.
bool installScriptHandler(std::uint32_t eventClass, std::uint32_t eventID, ScriptHandler handler);
void removeScriptHandler(std::uint32_t eventClass, std::uint32_t eventID);

}  // namespace lumbrel::platform
