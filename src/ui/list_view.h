// A list view fed by a string array, over a list box.
//
// The Mac's data browser has no counterpart in this window system; the form
// the dialogs use, a column of texts from a string array (`slst`), is built
// on a list box instead: item n (numbered from 1) shows the localised text of
// element n - 1, two items compare by the bytes of their elements, and every
// change of the array removes and re-adds all items. The array is kept by
// the module per list box and forgotten when the list box is gone.
#pragma once

#include <cstdint>

#include "ui/ui_types.h"
#include "util/my_array.h"

namespace lumbrel {

// Appends the texts of `texts` to the view's array and re-adds all items.
// Elements are either text pointers (const char*, element size of a pointer)
// or texts held in the element itself (NUL-terminated within it).
void addBrowserItems(ControlRef view, const MyArray* texts);
// With `count` new items: the array grows by `count` empty texts, all items
// are re-added.
void addBrowserItems(ControlRef view, int count);
// Removes all items and the array.
void resetDataBrowser(ControlRef view);
// Removes item `item` (1-based) and its element; re-adds the others.
void removeBrowserItem(ControlRef view, std::uint32_t item);
// Shows item `item` again from its element.
void updateBrowserItem(ControlRef view, std::uint32_t item);
// Element item - 1 as given (not localised); false when there is none.
bool getBrowserElement(ControlRef view, std::uint32_t item, const char** text);
// Whether item a sorts before item b: byte order of their elements.
bool compareBrowserItems(ControlRef view, std::uint32_t a, std::uint32_t b);

std::uint32_t getBrowserItemsCnt(ControlRef view) noexcept;
std::uint32_t getSelectedItems(ControlRef view) noexcept;  // how many are selected
std::uint32_t getSelectedItem(ControlRef view) noexcept;   // the first selected (1-based), 0 when none
void selectAllItems(ControlRef view) noexcept;

}  // namespace lumbrel
