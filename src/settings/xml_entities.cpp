#include "settings/xml_entities.h"

#include <array>

namespace lumbrel {

namespace {

struct Entity {
    char character;
    std::string_view reference;
};

constexpr std::array<Entity, 5> kEntities = {{
    {'&', "&amp;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
    {'"', "&quot;"},
    {'\'', "&apos;"},
}};

}  // namespace

std::string escapeXMLMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out.push_back(c); break;
        }
    }
    return out;
}

std::string unescapeXMLEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        bool replaced = false;
        if (text[at] == '&') {
            for (const Entity& entity : kEntities) {
                if (text.substr(at).starts_with(entity.reference)) {
                    out.push_back(entity.character);
                    at += entity.reference.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out.push_back(text[at++]);
    }
    return out;
}

}  // namespace lumbrel
