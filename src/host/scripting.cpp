#include "host/scripting.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "host/xt_enumerate.h"
#include "host/xt_slugs.h"
#include "platform/platform_traits.h"
#include "settings/xml_stream.h"
#include "settings/xml_text.h"
#include "util/log.h"

namespace lumbrel {

namespace {

struct ScriptWalk {
    const char* request;
    XMLStream* reply;
};

// The box's identifier, terminated; false when it has none or an empty one.
bool readIdentifier(XTBoxID box, char (&identifier)[kMaxIdentifierLength + 1]) {
    const std::int32_t length = getslugdata(box, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, identifier,
                                            static_cast<std::int32_t>(kMaxIdentifierLength));
    if (length <= 0) return false;
    identifier[length] = '\0';
    return identifier[0] != '\0';
}

bool contains(const char* text, const char* part) {
    return std::strstr(text, part) != nullptr;
}

bool findByIdentifier(XTBoxID box, std::intptr_t data) {
    const auto& walk = *reinterpret_cast<const ScriptWalk*>(data);
    char identifier[kMaxIdentifierLength + 1];
    if (!readIdentifier(box, identifier)) return true;
    char enclosed[kMaxIdentifierLength + 3];
    std::snprintf(enclosed, sizeof enclosed, ">%s<", identifier);
    if (contains(walk.request, enclosed)) {
        char id[16];
        std::snprintf(id, sizeof id, "%d", static_cast<int>(box));
        walk.reply->add("qid", id, "guid", identifier);
    }
    return true;
}

bool identifierById(XTBoxID box, std::intptr_t data) {
    const auto& walk = *reinterpret_cast<const ScriptWalk*>(data);
    char identifier[kMaxIdentifierLength + 1];
    if (!readIdentifier(box, identifier)) return true;
    char tag[48];
    std::snprintf(tag, sizeof tag, "<qid>%d</qid>", static_cast<int>(box));
    if (contains(walk.request, tag)) {
        char id[16];
        std::snprintf(id, sizeof id, "%d", static_cast<int>(box));
        walk.reply->add("guid", identifier, "qid", id);
    }
    return true;
}

bool setIdentifier(XTBoxID box, std::intptr_t data) {
    const auto& walk = *reinterpret_cast<const ScriptWalk*>(data);
    char tag[48];
    std::snprintf(tag, sizeof tag, "<qid=\"%d\">", static_cast<int>(box));
    const char* found = std::strstr(walk.request, tag);
    if (found == nullptr) return true;
    // The text from the tag's closing '>' to the next '<' (or the end).
    const char* start = found + std::strlen(tag);
    std::size_t length = std::strcspn(start, "<");
    if (length > kMaxIdentifierLength) length = kMaxIdentifierLength;
    if (length > 0) xt_setslugdata(box, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, start, static_cast<std::int32_t>(length));
    return true;
}

}  // namespace

bool setupUIDHandler() {
    return platform::installScriptHandler(kScriptEventClass, kScriptEventID, handleScriptEvent);
}

void removeUIDHandler() {
    platform::removeScriptHandler(kScriptEventClass, kScriptEventID);
}

bool answerScriptRequest(const char* request, std::string& reply) {
    if (request == nullptr) return false;
    const char* lineEnd = platform::Traits::kLineEnd;
    dprintf("%s%sget:%s%s", lineEnd, lineEnd, lineEnd, request);

    const std::int32_t cmd = getXMLValue(request, "cmd", 0);
    XMLStream stream;
    if (stream.setup(kScriptReplySize) != 0) return false;
    stream.add("cmd", cmd);

    ScriptWalk walk{request, &stream};
    const auto data = reinterpret_cast<std::intptr_t>(&walk);
    switch (cmd) {
        case 1: xt_enumboxes(kFirstSpread, kAllSpreads, findByIdentifier, nullptr, data); break;
        case 2: xt_enumboxes(kFirstSpread, kAllSpreads, identifierById, nullptr, data); break;
        case 3: xt_enumboxes(kFirstSpread, kAllSpreads, setIdentifier, nullptr, data); break;
        default: break;
    }

    dprintf("%s%sset:%s%s", lineEnd, lineEnd, lineEnd, stream.text());
    try {
        reply.assign(stream.text(), static_cast<std::size_t>(stream.length()));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void handleScriptEvent(const platform::ScriptRequest& request, const platform::ScriptReply& reply) {
    if (request.text == nullptr) return;
    std::string text;
    std::string answer;
    try {
        // The request's text need not end in a zero; the searches need one.
        text.assign(request.text, request.length);
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!answerScriptRequest(text.c_str(), answer)) return;
    if (reply.set != nullptr) reply.set(reply.context, answer.data(), answer.size());
}

}  // namespace lumbrel
