#include "ui/settings_binding.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "ui/control_kind.h"
#include "ui/property_names.h"
#include "ui/ui_types.h"

namespace lumbrel {

namespace {

struct Binding {
    CMySettings* settings = nullptr;
    const char* section = nullptr;
};

// A number as the decimal reading of a text: leading blanks and a sign,
// digits up to the first other character; 0 without digits, held to int.
int decimalValue(const std::string& text) noexcept {
    errno = 0;
    const long long number = std::strtoll(text.c_str(), nullptr, 10);
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

// The key's value, or the default when the section or key is missing.
std::string readValue(const Binding& binding, const std::string& key, const std::string& fallback) {
    std::string value(kMaxBoundValue, '\0');
    const std::int32_t length =
        binding.settings->get(binding.section, key.c_str(), value.data(), static_cast<std::int32_t>(value.size()));
    if (length < 0) return fallback;
    value.resize(static_cast<std::size_t>(length));
    return value;
}

bool loadOne(platform::WindowRef window, std::uint32_t kind, std::intptr_t value) {
    const auto* binding = reinterpret_cast<const Binding*>(value);
    if (kind != kKindCheck && kind != kKindEditWindow) return true;
    const std::string* key = platform::textProperty(window, kPropPref);
    if (key == nullptr) return true;
    try {
        const std::string* fallback = platform::textProperty(window, kPropDefault);
        const std::string text = readValue(*binding, *key, fallback != nullptr ? *fallback : std::string());
        if (kind == kKindCheck)
            platform::setControlValue(window, decimalValue(text));
        else
            platform::setWindowText(window, text);
    } catch (const std::bad_alloc&) {
        // The control keeps what it shows.
    }
    return true;
}

bool saveOne(platform::WindowRef window, std::uint32_t kind, std::intptr_t value) {
    const auto* binding = reinterpret_cast<const Binding*>(value);
    if (kind != kKindCheck && kind != kKindEditWindow) return true;
    const std::string* key = platform::textProperty(window, kPropPref);
    if (key == nullptr) return true;
    try {
        if (kind == kKindCheck) {
            binding->settings->set(binding->section, key->c_str(),
                                   static_cast<std::int32_t>(platform::controlValue(window)));
        } else {
            binding->settings->set(binding->section, key->c_str(), platform::windowText(window).c_str());
        }
    } catch (const std::bad_alloc&) {
        // The key keeps its old value.
    }
    return true;
}

void walkBound(platform::WindowRef dialog, CMySettings* settings, const char* section, DialogWalkProc proc) {
    if (settings == nullptr || section == nullptr) return;
    Binding binding{settings, section};
    walkDialog(dialog, proc, reinterpret_cast<std::intptr_t>(&binding));
}

}  // namespace

void loadDialogValues(platform::WindowRef dialog, CMySettings* settings, const char* section) {
    walkBound(dialog, settings, section, loadOne);
}

void saveDialogValues(platform::WindowRef dialog, CMySettings* settings, const char* section) {
    if (settings == nullptr || section == nullptr) return;
    walkBound(dialog, settings, section, saveOne);
    settings->save();
}

}  // namespace lumbrel
