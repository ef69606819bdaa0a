// The dialog functions every feature dialog runs through: a dialog is named,
// built from its description, prepared by the caller's start function, run
// modal (or left open modeless) and answered with the command that ended it.
//
// Results: the command code that ended a modal dialog, kCmdOK ("ok  ") or
// kCmdCancel ("not!") or the code given to quitModalDialog; 0 when the dialog
// could not be made or the start function refused. OK and Cancel are the
// controls with the identifiers 1 and 2 (or the commands "ok  " and "not!");
// Return and Escape in the dialog act as OK and as the close box.
//
// Handlers, the timer and the caller's value are kept as properties of the
// dialog window (tags `cprc`, `user`, `timp`, `clos`) and go with it.
#pragma once

#include <cstdint>

#include "ui/ui_types.h"
#include "util/my_array.h"

namespace lumbrel {

using DialogStartProc = bool (*)(WindowPtr window, std::intptr_t user);
using WindowHandlerProc = bool (*)(WindowPtr window, std::intptr_t user);
using TimerProc = bool (*)(WindowPtr window, std::intptr_t user);
using ProgressStepProc = bool (*)(WindowPtr window, void* item, std::intptr_t user);
using DialogControlProc = bool (*)(ControlRef control, WindowPtr window, std::intptr_t user);

// Window event kinds for setWindowHandler.
inline constexpr std::uint16_t kEventWindowClose = 72;

// Property tag of the result given to quitModalDialog.
inline constexpr std::uint32_t kTagResult = fourCC("----");
// The command of the progress bar of the "Progress" description.
inline constexpr std::uint32_t kCmdProgressBar = fourCC("prog");

// Builds the description `name`, places it (centred horizontally, a quarter
// of the free height from the top of the screen), localises its titles, calls
// start(window, user) and runs it until OK, Cancel, the close box or
// quitModalDialog ends it.
std::uint32_t doModalDialog(const char* name, DialogStartProc start, std::intptr_t user);

// Builds, places and localises the description `name`, calls start, shows
// the window and answers it; null when it could not be made or start
// refused (the window is gone then). The close box calls close(window,
// user): true keeps the window, false or no procedure closes it.
WindowPtr doModelessDialog(const char* name, DialogStartProc start, WindowHandlerProc close, std::intptr_t user);

// A modal dialog whose item 3 is an edit field starting with `text`; on OK
// the field's text is copied back into `text`, which must hold 256 bytes
// (longer texts are cut before a character they would split).
std::uint32_t getStringFromDialog(const char* name, char* text);

// Runs the "Progress" dialog: one step per timer tick calls
// step(window, item, user) for each element of `items` in order, the bar
// advancing; kCmdOK after the last item, 0 when a step answers false,
// kCmdCancel on Cancel. No items: kCmdOK at once, nothing shown. The title
// is localised; the second form is titled "Lumbrel".
std::uint32_t doProgressDialog(const char* title, ProgressStepProc step, MyArray* items, std::intptr_t user);
std::uint32_t doProgressDialog(ProgressStepProc step, MyArray* items, std::intptr_t user);

// Stops the window's timer; a code other than 0 becomes the result; ends the
// modal loop of the window.
void quitModalDialog(WindowPtr window, std::uint32_t code);

// For kEventWindowClose, keeps `proc` as the close procedure. Other kinds
// have no handler in this build: false.
bool setWindowHandler(WindowPtr window, std::uint16_t eventKind, WindowHandlerProc proc);

// A click on the control calls proc(control, window, user). For OK and
// Cancel a true answer keeps the dialog open; for a tab control a false
// answer switches the page.
void setControlHandler(ControlRef control, DialogControlProc proc, std::intptr_t user);
void setControlHandler(WindowPtr window, unsigned long idOrCommand, DialogControlProc proc, std::intptr_t user);

// One repeating timer per window: at once, then every `seconds`, calling
// proc(window, the window's caller value). A new timer replaces the old.
bool setTimer(WindowPtr window, TimerProc proc, float seconds);
void removeTimer(WindowPtr window);

// The title from a key of the string table or a text.
void setWindowTitle(WindowPtr window, const char* keyOrText);

// Moves the keyboard focus to the next (or previous) control of the dialog
// that takes it: tab stops among the visible and enabled windows in walking
// order, wrapping around; an edit field gets all its text selected.
void moveDialogFocus(WindowPtr dialog, bool previous);

// What both dialog shells do with a message before the default handling;
// exposed for the dialog object, which shares the list drawing and focus
// handling. True when the message was handled.
bool handleCommonDialogMessage(WindowPtr dialog, platform::Message message, std::uintptr_t wParam,
                               std::intptr_t lParam);

// Places a dialog window: centred horizontally, at a quarter of the free
// height from the top of the screen.
void placeDialog(WindowPtr window);

}  // namespace lumbrel
