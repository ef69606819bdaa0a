// A list view fed by a string array, over a list box.
//
// The Mac's data browser has no counterpart in this window system; the form
// the dialogs use, a column of texts from a string array (`slst`), is built
// on a list box instead: item n (numbered from 1) shows the localised text of
// element n - 1, two items compare by the bytes of their elements, and every
// change of the array removes and re-adds all items. The array is kept by
// the module per list box and forgotten when the list box is gone. A view
// without an array is fed by the caller's procedures (see below).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// Whether item a sorts before item b: byte order of their elements; in the
// callback form, the compare procedure's answer.
bool compareBrowserItems(ControlRef view, std::uint32_t a, std::uint32_t b);

// ---- Callback form ----------------------------------------------------------
// Without a string array the caller's procedures answer: item n's text comes
// from the item-data procedure, which fills the opaque item data it is handed
// through setBrowserText, setItemStringWithFormat or setBrowserIcon; two
// items compare through the compare procedure; the notification procedure
// hears of selection changes the user makes (clicks, arrow keys, a context
// click). Drags do not exist in this window system: the two drag procedures
// are only kept. The procedures are control properties of the list box
// (`dprc`, `nprc`, `drga`, `drgr`; the compare procedure is kept as `bcmp`
// because `cprc` already holds the control's handler in this toolkit).

// Drags are opaque; this window system never makes one.
struct OpaqueDragRef;
using DragRef = OpaqueDragRef*;

// View, item (1-based), property (the column), the item data to fill, and
// whether the browser sets a value (always 0 here: the view is read-only).
using BrowserItemDataProc = long (*)(ControlRef view, std::uint32_t item, std::uint32_t property, void* itemData,
                                     unsigned char setValue);
// View, item one, item two, sort property: non-zero when item one sorts first.
using BrowserCompareProc = unsigned char (*)(ControlRef view, std::uint32_t itemOne, std::uint32_t itemTwo,
                                             std::uint32_t sortProperty);
// View, item (0 for the selection as a whole), message.
using BrowserNotificationProc = void (*)(ControlRef view, std::uint32_t item, std::uint32_t message);
using BrowserDragProc = unsigned char (*)(ControlRef view, DragRef drag);

inline constexpr std::uint32_t kTagBrowserItemData = fourCC("dprc");
inline constexpr std::uint32_t kTagBrowserCompare = fourCC("bcmp");
inline constexpr std::uint32_t kTagBrowserNotification = fourCC("nprc");
inline constexpr std::uint32_t kTagBrowserAcceptDrag = fourCC("drga");
inline constexpr std::uint32_t kTagBrowserReceiveDrag = fourCC("drgr");

// The one column of the view: the property the item-data and compare
// procedures are asked for.
inline constexpr std::uint32_t kBrowserColumnProperty = fourCC("col1");

// Notification messages: an item became selected or deselected, then once
// for the whole change (item 0).
inline constexpr std::uint32_t kBrowserItemSelected = 5;
inline constexpr std::uint32_t kBrowserItemDeselected = 6;
inline constexpr std::uint32_t kBrowserSelectionSetChanged = 14;

// Keeps the five procedures and starts watching the user's selection changes.
void setupBrowserControl(ControlRef view, BrowserItemDataProc itemData, BrowserCompareProc compare,
                         BrowserNotificationProc notification, BrowserDragProc acceptDrag,
                         BrowserDragProc receiveDrag) noexcept;
// Removes the procedures (the items stay as shown).
void resetBrowserControl(ControlRef view) noexcept;
// Adds flags to the property flags of a column (kept per property id).
void setBrowserProperty(ControlRef view, std::uint32_t property, std::uint32_t flags) noexcept;
std::uint32_t getBrowserProperty(ControlRef view, std::uint32_t property) noexcept;

// Inside the item-data procedure, on the item data it was handed: the cell's
// text (UTF-8), its icon (the module's creator and this type), a formatted
// text (4096 bytes at most). A null item data is ignored.
void setBrowserText(void* itemData, const char* text) noexcept;
void setBrowserIcon(void* itemData, std::uint32_t iconType) noexcept;
void setItemStringWithFormat(void* itemData, const char* format, ...) noexcept __attribute__((format(printf, 2, 3)));

// Whether the view is fed by a string array, and whether it has an item-data
// procedure to fall back on.
bool hasBrowserStringArray(ControlRef view) noexcept;
bool hasBrowserCallbacks(ControlRef view) noexcept;
// The callback form's text of item n; its icon type (0 when none).
std::string browserItemText(ControlRef view, std::uint32_t item);
std::uint32_t browserItemIcon(ControlRef view, std::uint32_t item);
// Removes all items and adds items 1 to count with the texts the item-data
// procedure gives.
void readdBrowserItems(ControlRef view, std::uint32_t count) noexcept;
// Calls the notification procedure for the difference between two
// selections (1-based item numbers, ascending) and once for the set.
void notifyBrowserSelection(ControlRef view, const std::vector<std::uint32_t>& before,
                            const std::vector<std::uint32_t>& after) noexcept;
// The selected items, 1-based, ascending.
std::vector<std::uint32_t> selectedBrowserItems(ControlRef view);

std::uint32_t getBrowserItemsCnt(ControlRef view) noexcept;
std::uint32_t getSelectedItems(ControlRef view) noexcept;  // how many are selected
std::uint32_t getSelectedItem(ControlRef view) noexcept;   // the first selected (1-based), 0 when none
void selectAllItems(ControlRef view) noexcept;

}  // namespace lumbrel
