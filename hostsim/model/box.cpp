#include "box.h"

#include <array>
#include <utility>

namespace hostsim {

namespace {

constexpr std::array<std::pair<int, const char*>, 4> kKinds{{
    {kBoxText, "text"},
    {kBoxPicture, "picture"},
    {kBoxLine, "line"},
    {kBoxGroup, "group"},
}};

}  // namespace

const char* boxKindName(int kind) noexcept {
    for (const auto& [number, name] : kKinds) {
        if (number == kind) return name;
    }
    return "";
}

std::optional<int> boxKindFromName(std::string_view name) noexcept {
    for (const auto& [number, known] : kKinds) {
        if (name == known) return number;
    }
    return std::nullopt;
}

bool isBoxKind(int kind) noexcept { return *boxKindName(kind) != '\0'; }

}  // namespace hostsim
