// The string-array list view over a list box.
#include "ui/list_view.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

using Texts = std::vector<std::string>;

// The arrays by list box. Handles of destroyed windows are never reused, so
// an entry of a dead window is only garbage, dropped at the next change.
std::map<platform::WindowRef, Texts>& arrays() {
    static std::map<platform::WindowRef, Texts> all;
    return all;
}

void dropDead() {
    auto& all = arrays();
    for (auto it = all.begin(); it != all.end();) {
        it = platform::isWindow(it->first) ? std::next(it) : all.erase(it);
    }
}

const Texts* textsOf(ControlRef view) {
    const auto& all = arrays();
    const auto it = all.find(view);
    return it == all.end() ? nullptr : &it->second;
}

std::string shown(const std::string& element) {
    MyStr text(element.c_str());
    const char* utf8 = text.hasString() ? text.UTF8Str() : nullptr;
    return utf8 != nullptr ? std::string(utf8) : element;
}

void readdAll(ControlRef view, const Texts& texts) {
    platform::clearItems(view);
    for (const std::string& element : texts) platform::addItem(view, shown(element));
    platform::invalidateWindow(view);
}

std::string elementText(const MyArray& array, std::int32_t index) {
    const void* elem = array.getElem(index);
    if (elem == nullptr) return {};
    const std::uint32_t size = array.getElemSize();
    if (size == sizeof(const char*)) {
        const char* text = nullptr;
        std::memcpy(&text, elem, sizeof text);
        return text != nullptr ? std::string(text) : std::string();
    }
    const auto* bytes = static_cast<const char*>(elem);
    return std::string(bytes, strnlen(bytes, size));
}

}  // namespace

void addBrowserItems(ControlRef view, const MyArray* texts) {
    if (!platform::isWindow(view)) return;
    try {
        dropDead();
        Texts& all = arrays()[view];
        if (texts != nullptr) {
            for (std::int32_t i = 0; i < texts->getCount(); ++i) all.push_back(elementText(*texts, i));
        }
        readdAll(view, all);
    } catch (...) {
        // Out of memory: the view keeps what it showed.
    }
}

bool hasBrowserStringArray(ControlRef view) noexcept { return textsOf(view) != nullptr; }

// The callback form is taken when the view has no string array but an
// item-data procedure.
static bool callbackForm(ControlRef view) noexcept { return !hasBrowserStringArray(view) && hasBrowserCallbacks(view); }

void addBrowserItems(ControlRef view, int count) {
    if (!platform::isWindow(view)) return;
    if (callbackForm(view)) {
        const std::int64_t total = std::int64_t{getBrowserItemsCnt(view)} + (count > 0 ? count : 0);
        readdBrowserItems(view, static_cast<std::uint32_t>(std::min<std::int64_t>(total, 0x7FFFFFFF)));
        return;
    }
    try {
        dropDead();
        Texts& all = arrays()[view];
        for (int i = 0; i < count; ++i) all.emplace_back();
        readdAll(view, all);
    } catch (...) {
    }
}

void resetDataBrowser(ControlRef view) {
    arrays().erase(view);
    platform::clearItems(view);
    platform::invalidateWindow(view);
}

void removeBrowserItem(ControlRef view, std::uint32_t item) {
    if (callbackForm(view)) {
        const std::uint32_t count = getBrowserItemsCnt(view);
        if (item >= 1 && item <= count) readdBrowserItems(view, count - 1);
        return;
    }
    auto it = arrays().find(view);
    if (it == arrays().end() || item < 1 || item > it->second.size()) return;
    it->second.erase(it->second.begin() + static_cast<std::ptrdiff_t>(item - 1));
    readdAll(view, it->second);
}

void updateBrowserItem(ControlRef view, std::uint32_t item) {
    if (callbackForm(view)) {
        if (item < 1 || item > getBrowserItemsCnt(view)) return;
        try {
            platform::setItemText(view, static_cast<int>(item - 1), browserItemText(view, item));
        } catch (...) {
            return;
        }
        platform::invalidateWindow(view);
        return;
    }
    const Texts* texts = textsOf(view);
    if (texts == nullptr || item < 1 || item > texts->size()) return;
    platform::setItemText(view, static_cast<int>(item - 1), shown((*texts)[item - 1]));
    platform::invalidateWindow(view);
}

bool getBrowserElement(ControlRef view, std::uint32_t item, const char** text) {
    const Texts* texts = textsOf(view);
    if (texts == nullptr || text == nullptr || item < 1 || item > texts->size()) return false;
    *text = (*texts)[item - 1].c_str();
    return true;
}

bool compareBrowserItems(ControlRef view, std::uint32_t a, std::uint32_t b) {
    if (callbackForm(view)) {
        const auto compare = reinterpret_cast<BrowserCompareProc>(getControlProperty(view, kTagBrowserCompare));
        return compare != nullptr && compare(view, a, b, kBrowserColumnProperty) != 0;
    }
    const char* left = nullptr;
    const char* right = nullptr;
    if (!getBrowserElement(view, a, &left) || !getBrowserElement(view, b, &right)) return false;
    return std::strcmp(left, right) < 0;
}

std::uint32_t getBrowserItemsCnt(ControlRef view) noexcept {
    const int count = platform::itemCount(view);
    return count > 0 ? static_cast<std::uint32_t>(count) : 0;
}

std::uint32_t getSelectedItems(ControlRef view) noexcept {
    std::uint32_t selected = 0;
    const int count = platform::itemCount(view);
    for (int i = 0; i < count; ++i) selected += platform::isItemSelected(view, i) ? 1U : 0U;
    return selected;
}

std::uint32_t getSelectedItem(ControlRef view) noexcept {
    const int count = platform::itemCount(view);
    for (int i = 0; i < count; ++i) {
        if (platform::isItemSelected(view, i)) return static_cast<std::uint32_t>(i + 1);
    }
    return 0;
}

void selectAllItems(ControlRef view) noexcept {
    const int count = platform::itemCount(view);
    for (int i = 0; i < count; ++i) platform::setItemSelected(view, i, true);
    platform::invalidateWindow(view);
}

}  // namespace lumbrel
