// Scripting event handlers of the module, and their delivery by the host.
#include "platform/script_events.h"

#include "desktop/script_events.h"

#include <map>
#include <utility>

namespace {

using Key = std::pair<std::uint32_t, std::uint32_t>;

std::map<Key, lumbrel::platform::ScriptHandler>& handlers() {
    // Never destroyed: a module may remove its handler from code run at exit.
    static auto* table = new std::map<Key, lumbrel::platform::ScriptHandler>();
    return *table;
}

struct ReplySlot {
    std::optional<std::string> text;
};

void setReply(void* context, const char* text, std::size_t length) {
    auto* slot = static_cast<ReplySlot*>(context);
    if (slot == nullptr || slot->text.has_value()) return;
    try {
        slot->text = text != nullptr ? std::string(text, length) : std::string();
    } catch (...) {
        // No memory for the reply: the request goes unanswered.
    }
}

}  // namespace

namespace lumbrel::platform {

bool installScriptHandler(std::uint32_t eventClass, std::uint32_t eventID, ScriptHandler handler) {
    if (handler == nullptr) return false;
    try {
        handlers()[Key{eventClass, eventID}] = handler;
        return true;
    } catch (...) {
        return false;
    }
}

void removeScriptHandler(std::uint32_t eventClass, std::uint32_t eventID) {
    handlers().erase(Key{eventClass, eventID});
}

}  // namespace lumbrel::platform

namespace desktop {

std::optional<std::string> sendScriptEvent(std::uint32_t eventClass, std::uint32_t eventID,
                                           const std::optional<std::string>& directText) {
    const auto it = handlers().find(Key{eventClass, eventID});
    if (it == handlers().end()) return std::nullopt;
    const lumbrel::platform::ScriptHandler handler = it->second;
    lumbrel::platform::ScriptRequest request;
    if (directText) {
        request.text = directText->c_str();
        request.length = directText->size();
    }
    ReplySlot slot;
    lumbrel::platform::ScriptReply reply;
    reply.set = setReply;
    reply.context = &slot;
    handler(request, reply);
    return slot.text;
}

bool scriptHandlerInstalled(std::uint32_t eventClass, std::uint32_t eventID) {
    return handlers().count(Key{eventClass, eventID}) != 0;
}

void removeAllScriptHandlers() { handlers().clear(); }

}  // namespace desktop
