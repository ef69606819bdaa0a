// Items of combo boxes, list boxes and tab controls over their messages.
#include "platform/win32/common_controls.h"

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

using win32::toHwnd;

enum class Holder { ComboBox, ListBox, Tabs, None };

Holder holderOf(WindowRef window) {
    if (window == nullptr || !::IsWindow(toHwnd(window))) return Holder::None;
    const std::string name = className(window);
    if (::lstrcmpiA(name.c_str(), kComboBoxClass) == 0) return Holder::ComboBox;
    if (::lstrcmpiA(name.c_str(), kListBoxClass) == 0) return Holder::ListBox;
    if (::lstrcmpiA(name.c_str(), kTabControlClass) == 0) return Holder::Tabs;
    return Holder::None;
}

LRESULT send(WindowRef window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    return ::SendMessageW(toHwnd(window), message, wParam, lParam);
}

WPARAM indexParam(int index) noexcept { return static_cast<WPARAM>(static_cast<INT_PTR>(index)); }

bool wide(std::string_view utf8, std::wstring& out) { return win32::toWide(std::string(utf8).c_str(), out); }

int insertAt(WindowRef window, Holder holder, int index, std::string_view utf8) {
    std::wstring text;
    if (!wide(utf8, text)) return -1;
    LRESULT result = -1;
    switch (holder) {
        case Holder::ComboBox:
            result = send(window, CB_INSERTSTRING, indexParam(index), reinterpret_cast<LPARAM>(text.c_str()));
            break;
        case Holder::ListBox:
            result = send(window, LB_INSERTSTRING, indexParam(index), reinterpret_cast<LPARAM>(text.c_str()));
            break;
        case Holder::Tabs: {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            const int at = index < 0 ? static_cast<int>(send(window, TCM_GETITEMCOUNT)) : index;
            result = send(window, TCM_INSERTITEMW, indexParam(at), reinterpret_cast<LPARAM>(&item));
            break;
        }
        case Holder::None: break;
    }
    return result < 0 ? -1 : static_cast<int>(result);
}

}  // namespace

int addItem(WindowRef window, std::string_view utf8) noexcept {
    try {
        return insertAt(window, holderOf(window), -1, utf8);
    } catch (...) {
        return -1;
    }
}

int itemCount(WindowRef window) noexcept {
    try {
        switch (holderOf(window)) {
            case Holder::ComboBox: return static_cast<int>(send(window, CB_GETCOUNT));
            case Holder::ListBox: return static_cast<int>(send(window, LB_GETCOUNT));
            case Holder::Tabs: return static_cast<int>(send(window, TCM_GETITEMCOUNT));
            case Holder::None: break;
        }
    } catch (...) {
    }
    return 0;
}

std::string itemText(WindowRef window, int index) {
    const Holder holder = holderOf(window);
    if (index < 0 || index >= itemCount(window)) return {};
    std::wstring text;
    switch (holder) {
        case Holder::ComboBox:
        case Holder::ListBox: {
            const bool combo = holder == Holder::ComboBox;
            const LRESULT length = send(window, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, indexParam(index));
            if (length < 0) return {};
            text.assign(static_cast<std::size_t>(length) + 1, L'\0');
            const LRESULT copied =
                send(window, combo ? CB_GETLBTEXT : LB_GETTEXT, indexParam(index), reinterpret_cast<LPARAM>(text.data()));
            text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0U);
            break;
        }
        case Holder::Tabs: {
            std::vector<wchar_t> buffer(1024, L'\0');
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = buffer.data();
            item.cchTextMax = static_cast<int>(buffer.size());
            if (!send(window, TCM_GETITEMW, indexParam(index), reinterpret_cast<LPARAM>(&item))) return {};
            text = item.pszText;
            break;
        }
        case Holder::None: return {};
    }
    std::string out;
    return win32::toUtf8(text.data(), text.size(), out) ? out : std::string();
}

void setItemText(WindowRef window, int index, std::string_view utf8) noexcept {
    if (index < 0 || index >= itemCount(window)) return;
    try {
        const Holder holder = holderOf(window);
        if (holder == Holder::Tabs) {
            std::wstring text;
            if (!wide(utf8, text)) return;
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            send(window, TCM_SETITEMW, indexParam(index), reinterpret_cast<LPARAM>(&item));
            return;
        }
        // Lists have no "set text": the item is replaced, keeping its data and the selection.
        const std::intptr_t data = itemData(window, index);
        const int current = controlValue(window);
        const bool selected = isItemSelected(window, index);
        deleteItem(window, index);
        if (insertAt(window, holder, index, utf8) < 0) return;
        setItemData(window, index, data);
        if (current == index) setControlValue(window, index);
        if (holder == Holder::ListBox && selected) setItemSelected(window, index, true);
    } catch (...) {
    }
}

void deleteItem(WindowRef window, int index) noexcept {
    try {
        switch (holderOf(window)) {
            case Holder::ComboBox: send(window, CB_DELETESTRING, indexParam(index)); break;
            case Holder::ListBox: send(window, LB_DELETESTRING, indexParam(index)); break;
            case Holder::Tabs: send(window, TCM_DELETEITEM, indexParam(index)); break;
            case Holder::None: break;
        }
    } catch (...) {
    }
}

void clearItems(WindowRef window) noexcept {
    try {
        switch (holderOf(window)) {
            case Holder::ComboBox: send(window, CB_RESETCONTENT); break;
            case Holder::ListBox: send(window, LB_RESETCONTENT); break;
            case Holder::Tabs: send(window, TCM_DELETEALLITEMS); break;
            case Holder::None: break;
        }
    } catch (...) {
    }
}

void setItemData(WindowRef window, int index, std::intptr_t data) noexcept {
    try {
        const Holder holder = holderOf(window);
        if (holder == Holder::ComboBox) send(window, CB_SETITEMDATA, indexParam(index), static_cast<LPARAM>(data));
        if (holder == Holder::ListBox) send(window, LB_SETITEMDATA, indexParam(index), static_cast<LPARAM>(data));
    } catch (...) {
    }
}

std::intptr_t itemData(WindowRef window, int index) noexcept {
    if (index < 0 || index >= itemCount(window)) return 0;
    try {
        const Holder holder = holderOf(window);
        if (holder == Holder::ComboBox) return static_cast<std::intptr_t>(send(window, CB_GETITEMDATA, indexParam(index)));
        if (holder == Holder::ListBox) return static_cast<std::intptr_t>(send(window, LB_GETITEMDATA, indexParam(index)));
    } catch (...) {
    }
    return 0;
}

namespace {

bool isMultipleSelection(WindowRef window) noexcept {
    return (windowStyle(window) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

}  // namespace

void setItemSelected(WindowRef window, int index, bool selected) noexcept {
    try {
        if (holderOf(window) != Holder::ListBox || index < 0 || index >= itemCount(window)) return;
        if (isMultipleSelection(window)) {
            send(window, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
        } else if (selected) {
            send(window, LB_SETCURSEL, indexParam(index));
        } else if (send(window, LB_GETCURSEL) == index) {
            send(window, LB_SETCURSEL, indexParam(-1));
        }
    } catch (...) {
    }
}

bool isItemSelected(WindowRef window, int index) noexcept {
    try {
        if (holderOf(window) != Holder::ListBox || index < 0) return false;
        return send(window, LB_GETSEL, indexParam(index)) > 0;
    } catch (...) {
        return false;
    }
}

}  // namespace lumbrel::platform
