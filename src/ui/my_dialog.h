// An object around one dialog window with item-numbered controls and one
// callback, run modal or modeless.
//
// Item numbers are control identifiers. The callback receives every control
// click as its item number, and two pseudo-items: -1 before the window is
// shown, -2 after the modal loop ended (also when the dialog was ended while
// handling -1 and therefore never shown). A true answer means handled;
// otherwise the default item ends the dialog with its number, the cancel item
// with its own. Return in the dialog is item 1; the close box is consumed.
//
// Making the window: this build has no dialog resources and no interface
// files. A dialog "from an interface file" is built from the dialog
// description of the window name instead (the interface-file reference is not
// used and may be null); one made from a resource id cannot be made: create()
// answers null and doModal() 0, without calling the callback. Modal dialogs
// get their own shell when doModal() runs; create() makes a hidden modeless
// shell (the one doModeless() shows).
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/controls.h"
#include "ui/ui_types.h"
#include "util/my_str.h"

namespace lumbrel {

struct OpaqueIBNibRef;  // an interface file: none in this build
struct OpaqueDialogPtr;  // a resource dialog: none in this build

class CMyDialog;
using MyDialogCallback = bool (*)(CMyDialog* dialog, std::int16_t item, std::intptr_t user);

inline constexpr std::int16_t kItemWillShow = -1;
inline constexpr std::int16_t kItemLoopEnded = -2;
inline constexpr std::size_t kDialogWindowNameSize = 64;
inline constexpr std::size_t kDialogTextFormatSize = 4096;

class CMyDialog {
public:
    CMyDialog(std::int16_t resourceId, std::int16_t defaultItem, std::int16_t cancelItem, long reserved) noexcept;
    CMyDialog(OpaqueIBNibRef* nib, const char* windowName, long defaultItem, long cancelItem, long reserved) noexcept;
    explicit CMyDialog(WindowPtr window) noexcept;
    explicit CMyDialog(OpaqueDialogPtr* dialog) noexcept;
    virtual ~CMyDialog();

    CMyDialog(const CMyDialog&) = delete;
    CMyDialog& operator=(const CMyDialog&) = delete;

    virtual long doModal(MyDialogCallback callback, std::intptr_t user);
    virtual WindowPtr doModeless(MyDialogCallback callback, std::intptr_t user);
    virtual void doEvent(std::int16_t item);
    virtual void doEvent(std::int16_t item, MyDialogCallback callback, std::intptr_t user);
    virtual void endDialog(long result);
    virtual ControlRef getControl(std::int16_t item);

    // A hidden modeless window from the description; null when it cannot be made.
    WindowPtr create();

    void setText(std::int16_t item, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void setText(std::int16_t item, long number);
    void setText(std::int16_t item, const unsigned char* pascalText);
    long getText(std::int16_t item, char* out, long size);
    std::int16_t getTextAsValue(std::int16_t item);
    std::int32_t getInt32(std::int16_t item);
    double getFloat(std::int16_t item);
    void setValue(std::int16_t item, std::int16_t value);
    std::int16_t getValue(std::int16_t item);
    // values[item] for every item from first to last, both included.
    void setValues(std::int16_t first, std::int16_t last, const std::int16_t* values);
    void getValues(std::int16_t first, std::int16_t last, std::int16_t* values);
    std::int16_t toggleValue(std::int16_t item);
    void selectText(std::int16_t item, std::int16_t start, std::int16_t end);
    void show(std::int16_t item, bool visible);
    void show(std::int16_t first, std::int16_t last, bool visible);
    void hide(std::int16_t item);
    void enable(std::int16_t item, bool enabled);
    void enable(std::int16_t first, std::int16_t last, bool enabled);
    MenuRef getMenu(std::int16_t item);
    // The selected menu item's text within 256 bytes (255 and the terminator).
    bool getMenuText(std::int16_t item, char* out);
    void addMenuItem(std::int16_t item, const char* keyOrText);
    void addMenuItem(std::int16_t item, const unsigned char* pascalText);  // Mac OS Roman
    void setMenuText(std::int16_t item, const char* text);
    void setFocus(std::int16_t item);
    std::int16_t getFocus();  // the item number of the focused control, 0 when none of this dialog
    void setKeyFilter(std::int16_t item, KeyFilterProc filter);
    // The file's name as the window title.
    void setTitle(const FileRef* file);
    void setProperty(std::uint32_t tag, std::intptr_t value);
    std::intptr_t getProperty(std::uint32_t tag, std::intptr_t defaultValue);
    // Frees the malloc'ed block kept under the tag and clears the property.
    void freeProperty(std::uint32_t tag);
    ControlRef getRootControl();
    void redraw();

    WindowPtr window() const noexcept { return window_; }
    bool isEnded() const noexcept { return ended_; }
    long result() const noexcept { return result_; }

private:
    friend struct MyDialogShell;

    bool fromDescription() const noexcept;

    [[maybe_unused]] void* savedPort_ = nullptr;     // the port before a resource dialog was made (none here)
    [[maybe_unused]] void* filterProc_ = nullptr;    // the modal filter of a resource dialog (none here)
    [[maybe_unused]] void* eventHandler_ = nullptr;  // the handler on an interface-file window (here: the shell)
    [[maybe_unused]] OpaqueDialogPtr* dialog_ = nullptr;
    WindowPtr window_ = nullptr;
    [[maybe_unused]] OpaqueIBNibRef* nib_ = nullptr;
    char windowName_[kDialogWindowNameSize] = {};
    bool modal_ = false;
    MyDialogCallback callback_ = nullptr;
    std::intptr_t user_ = 0;
    std::int16_t resourceId_ = 0;
    std::int16_t defaultItem_ = 0;
    std::int16_t cancelItem_ = 0;
    long result_ = 0;
    bool ended_ = false;
    bool ownsWindow_ = false;
    bool built_ = false;     // the description was built into the shell
    bool finished_ = false;  // -2 was delivered
};

}  // namespace lumbrel
