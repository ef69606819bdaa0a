// Rows of an owner-drawn list box, and their drawing.
#include "ui/list_box.h"

#include <algorithm>
#include <climits>
#include <string>

#include "ui/controls.h"
#include "ui/own_window_classes.h"
#include "util/bounded.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

platform::Canvas* drawingCanvas = nullptr;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

std::int16_t cut16(int value) noexcept { return static_cast<std::int16_t>(value); }

std::int16_t clampToRect(int value) noexcept {
    if (value > INT16_MAX) return INT16_MAX;
    if (value < INT16_MIN) return INT16_MIN;
    return static_cast<std::int16_t>(value);
}

}  // namespace

CMyListBox::CMyListBox(WindowPtr window, std::int16_t item) noexcept
    : CMyListBox(getControl(window, static_cast<unsigned long>(item))) {}

CMyListBox::CMyListBox(ControlRef control) noexcept : list_(control), control_(control) { rows_ = rows(); }

std::int16_t CMyListBox::rows() const noexcept { return cut16(platform::itemCount(list_)); }

void CMyListBox::clear() noexcept {
    platform::clearItems(list_);
    rows_ = 0;
    draw();
}

void CMyListBox::draw() noexcept { platform::invalidateWindow(control_); }

std::int16_t CMyListBox::addRows(std::int16_t count) noexcept {
    for (std::int16_t i = 0; i < count; ++i) {
        if (platform::addItem(list_, "") < 0) break;
    }
    rows_ = rows();
    draw();
    return rows_;
}

std::int16_t CMyListBox::addString(const char* text) noexcept {
    const int row = platform::addItem(list_, text != nullptr ? text : "");
    rows_ = rows();
    draw();
    return cut16(row);
}

std::int16_t CMyListBox::addString(const unsigned char* pascalText) noexcept {
    try {
        MyStr text(pascalText, kEncodingMacRoman);
        return addString(text.hasString() ? text.UTF8Str() : "");
    } catch (...) {
        return -1;
    }
}

std::int16_t CMyListBox::addPtr(const char* pointer) noexcept {
    const int row = platform::addItem(list_, "");
    if (row >= 0) platform::setItemData(list_, row, reinterpret_cast<std::intptr_t>(pointer));
    rows_ = rows();
    return cut16(row);
}

void CMyListBox::setString(const char* text, std::int16_t row, std::int16_t) noexcept {
    if (row < 0 || row >= rows()) return;
    platform::setItemText(list_, row, text != nullptr ? text : "");
    draw();
}

bool CMyListBox::getString(char* out, std::int16_t row, std::int16_t) const noexcept {
    if (out == nullptr) return false;
    out[0] = '\0';
    if (row < 0 || row >= rows()) return false;
    try {
        copyBounded(out, kShortTextSize, platform::itemText(list_, row));
        return true;
    } catch (...) {
        return false;
    }
}

const char* CMyListBox::getPtr(std::int16_t row) const noexcept {
    if (row < 0 || row >= rows()) return nullptr;
    return reinterpret_cast<const char*>(platform::itemData(list_, row));
}

void CMyListBox::remove(std::int16_t row, std::int16_t count) noexcept {
    const int total = rows();
    if (row < 0 || row >= total) return;
    const int end = count < 1 ? total : std::min(total, row + count);
    for (int i = row; i < end; ++i) platform::setItemSelected(list_, i, false);
    for (int i = end - 1; i >= row; --i) platform::deleteItem(list_, i);
    rows_ = rows();
    draw();
}

std::int16_t CMyListBox::getIndex(const char* text) const noexcept {
    if (text == nullptr) return -1;
    try {
        const int total = rows();
        for (int i = 0; i < total; ++i) {
            if (platform::itemText(list_, i) == text) return cut16(i);
        }
    } catch (...) {
    }
    return -1;
}

void CMyListBox::select(std::int16_t row) noexcept {
    if (row < 0 || row >= rows()) return;
    const int total = rows();
    for (int i = 0; i < total; ++i) platform::setItemSelected(list_, i, i == row);
    platform::setControlValue(list_, row);
    draw();
}

bool CMyListBox::isSelected(std::int16_t row) const noexcept {
    return row >= 0 && row < rows() && platform::isItemSelected(list_, row);
}

std::int16_t CMyListBox::getSelectedRow(std::int16_t from) const noexcept {
    const int total = rows();
    for (int i = from < 0 ? 0 : from; i < total; ++i) {
        if (platform::isItemSelected(list_, i)) return cut16(i);
    }
    return -1;
}

std::int16_t CMyListBox::getSelectedRows() const noexcept {
    int count = 0;
    const int total = rows();
    for (int i = 0; i < total; ++i) count += platform::isItemSelected(list_, i) ? 1 : 0;
    return cut16(count);
}

bool CMyListBox::getSelection(char* out) const noexcept {
    const std::int16_t row = getSelectedRow(0);
    if (row < 0) return false;
    return getString(out, row, 0);
}

void setupListBox(ControlRef control, ListDrawProc draw, std::intptr_t user) noexcept {
    setControlProperty(control, kTagListDraw, reinterpret_cast<std::intptr_t>(draw));
    setControlUserData(control, user);
    platform::invalidateWindow(control);
}

void drawListBoxItem(const platform::DrawItem& item) {
    if (item.item < 0) return;
    platform::fillRect(item.canvas, item.rect, kWhite);
    const std::string text = platform::itemText(item.control, item.item);
    const auto draw = reinterpret_cast<ListDrawProc>(getControlProperty(item.control, kTagListDraw));
    if (draw != nullptr) {
        Rect rect{clampToRect(item.rect.top), clampToRect(item.rect.left),
                  clampToRect(item.rect.top + item.rect.height), clampToRect(item.rect.left + item.rect.width)};
        platform::Canvas* const outer = drawingCanvas;
        drawingCanvas = item.canvas;
        draw(cut16(item.item), 0, clampToRect(static_cast<int>(std::min<std::size_t>(text.size(), INT16_MAX))), &rect,
             item.control);
        drawingCanvas = outer;
    } else {
        platform::drawText(item.canvas, item.rect, text, 0, kBlack, dialogFont());
    }
    if (item.selected) platform::invertRect(item.canvas, item.rect);
}

platform::Canvas* currentListCanvas() noexcept { return drawingCanvas; }

}  // namespace lumbrel
