// A list of rows over an owner-drawn list box ("lbox"): the rows are the
// list box's items, counted from 0; there is one column. The dialog shells
// draw the rows (drawListBoxItem): each row's cell is erased, then the
// control's draw procedure (setupListBox) draws it, or its text is drawn when
// the control has none, and a selected row is inverted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/controls.h"
#include "ui/ui_types.h"

namespace lumbrel {

// Row, column, data length (the row's text in bytes), the row's rectangle in
// the list box, the list box.
using ListDrawProc = void (*)(std::int16_t row, std::int16_t column, std::int16_t dataLength, Rect* rect,
                              ControlRef control);

inline constexpr std::uint32_t kTagListDraw = fourCC("draw");

class CMyListBox {
public:
    CMyListBox(WindowPtr window, std::int16_t item) noexcept;  // the list box of a dialog item
    explicit CMyListBox(ControlRef control) noexcept;

    // Nothing to register in this build: the rows are items of the list box.
    static void setup() noexcept {}

    void clear() noexcept;
    void draw() noexcept;
    // Appends `count` empty rows; answers the new row count.
    std::int16_t addRows(std::int16_t count) noexcept;
    // Appends a row; answers its number, -1 when it could not be added.
    std::int16_t addString(const char* text) noexcept;
    std::int16_t addString(const unsigned char* pascalText) noexcept;  // Mac OS Roman
    // A row whose cell holds a pointer (kept as the item's data), no text.
    std::int16_t addPtr(const char* pointer) noexcept;
    void setString(const char* text, std::int16_t row, std::int16_t column) noexcept;
    // The cell's text within 256 bytes; false (out empty) when there is no such row.
    bool getString(char* out, std::int16_t row, std::int16_t column) const noexcept;
    const char* getPtr(std::int16_t row) const noexcept;
    // Removes `count` rows from `row` on (all of them when count is below 1),
    // deselecting first.
    void remove(std::int16_t row, std::int16_t count) noexcept;
    std::int16_t getIndex(const char* text) const noexcept;  // the first row with that text, or -1
    void select(std::int16_t row) noexcept;                   // the row becomes the one selected
    bool isSelected(std::int16_t row) const noexcept;
    std::int16_t getSelectedRow(std::int16_t from) const noexcept;  // first selected at or after, or -1
    std::int16_t getSelectedRows() const noexcept;
    bool getSelection(char* out) const noexcept;  // the first selected row's text (256 bytes)

    ControlRef control() const noexcept { return control_; }
    std::int16_t rows() const noexcept;

private:
    ControlRef list_ = nullptr;
    ControlRef control_ = nullptr;
    std::int16_t rows_ = 0;
    std::int16_t columns_ = 1;
};

// The row draw procedure and user value of a list control.
void setupListBox(ControlRef control, ListDrawProc draw, std::intptr_t user) noexcept;

// Draws one row of an owner-drawn list box, as the dialog shells do on
// Message::DrawItem.
void drawListBoxItem(const platform::DrawItem& item);

// The canvas of the row being drawn, for draw procedures; null outside.
platform::Canvas* currentListCanvas() noexcept;

}  // namespace lumbrel
