#include "host/scripting.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <unordered_set>

#include "editing/relink_request.h"
#include "host/xt_enumerate.h"
#include "host/xt_slugs.h"
#include "platform/platform_traits.h"
#include "settings/xml_entities.h"
#include "settings/xml_stream.h"
#include "settings/xml_text.h"
#include "util/log.h"

namespace lumbrel {

namespace {

// The longest request text that can still read as an identifier: each
// character written as its longest entity, "&quot;".
constexpr std::size_t kMaxEscapedIdentifierLength = kMaxIdentifierLength * 6;

using RequestTexts = std::unordered_set<std::string>;

struct ScriptWalk {
    const char* request;
    XMLStream* reply;
    const RequestTexts* texts;  // cmd 1: what the request holds as ">text<"
};

// The texts of `request` that run from a '>' to the next '<', entities read,
// of 1 to 255 bytes. A '>' is never part of an entity, so the texts that end
// at one '<' are read piece by piece from that '<' back, each one the piece
// before a '>' put in front of the one after it.
RequestTexts requestTexts(std::string_view request) {
    RequestTexts texts;
    std::size_t chunkStart = 0;
    for (std::size_t close = request.find('<'); close != std::string_view::npos;
         chunkStart = close + 1, close = request.find('<', chunkStart)) {
        const std::string_view chunk = request.substr(chunkStart, close - chunkStart);
        std::string text;
        std::size_t end = chunk.size();
        for (std::size_t open = chunk.rfind('>'); open != std::string_view::npos;
             end = open, open = open > 0 ? chunk.rfind('>', open - 1) : std::string_view::npos) {
            const std::string_view piece = chunk.substr(open + 1, end - open - 1);
            if (piece.size() > kMaxEscapedIdentifierLength) break;
            if (end != chunk.size()) text.insert(0, ">");
            text.insert(0, unescapeXMLEntities(piece));
            if (text.size() > kMaxIdentifierLength) break;
            if (!text.empty()) texts.insert(text);
        }
    }
    return texts;
}

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
    // Found when the request holds it as XML text, entities read, or, as
    // partners that write identifiers unescaped have always relied on,
    // literally between a '>' and a '<'.
    char enclosed[kMaxIdentifierLength + 3];
    std::snprintf(enclosed, sizeof enclosed, ">%s<", identifier);
    try {
        if (walk.texts->count(identifier) != 0 || contains(walk.request, enclosed)) {
            char id[16];
            std::snprintf(id, sizeof id, "%d", static_cast<int>(box));
            walk.reply->add("qid", id, "guid", escapeXMLMarkup(identifier).c_str());
        }
    } catch (const std::bad_alloc&) {
        return true;  // this box is left out of the reply
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
        try {
            walk.reply->add("guid", escapeXMLMarkup(identifier).c_str(), "qid", id);
        } catch (const std::bad_alloc&) {
            return true;  // this box is left out of the reply
        }
    }
    return true;
}

bool setIdentifier(XTBoxID box, std::intptr_t data) {
    const auto& walk = *reinterpret_cast<const ScriptWalk*>(data);
    char tag[48];
    std::snprintf(tag, sizeof tag, "<qid=\"%d\">", static_cast<int>(box));
    const char* found = std::strstr(walk.request, tag);
    if (found == nullptr) return true;
    // The text from the tag's closing '>' to the next '<' (or the end), its
    // entities read; the identifier is what the partner meant, not how XML
    // had to write it.
    const char* start = found + std::strlen(tag);
    std::string identifier;
    try {
        identifier = unescapeXMLEntities(std::string_view(start, std::strcspn(start, "<")));
    } catch (const std::bad_alloc&) {
        return true;
    }
    const std::size_t length = std::min(identifier.size(), kMaxIdentifierLength);
    if (length > 0) {
        xt_setslugdata(box, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, identifier.data(), static_cast<std::int32_t>(length));
    }
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

    RequestTexts texts;
    if (cmd == 1) {
        try {
            texts = requestTexts(request);
        } catch (const std::bad_alloc&) {
            texts.clear();  // nothing can be matched
        }
    }
    ScriptWalk walk{request, &stream, &texts};
    const auto data = reinterpret_cast<std::intptr_t>(&walk);
    switch (cmd) {
        case 1: xt_enumboxes(kFirstSpread, kAllSpreads, findByIdentifier, nullptr, data); break;
        case 2: xt_enumboxes(kFirstSpread, kAllSpreads, identifierById, nullptr, data); break;
        case 3: xt_enumboxes(kFirstSpread, kAllSpreads, setIdentifier, nullptr, data); break;
        case kScriptCmdRelink: relinkFromScriptRequest(request); break;
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
