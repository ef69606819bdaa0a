// What the Windows form of dropping asks of the host: the drop group (file
// records, import filter extensions, the calls at drag entry and
// before a picture is replaced), the layer test, and the box, window and
// import calls that placing a dropped file makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "xtapi.h"

namespace lumbrel {

// Acquires the host's drop group; false when the host has none. Asked once
// at start-up; later calls answer what that one found.
bool acquireWinDropGroup();
// Uses this table as the host's drop group; null is none. Start-up sets it
// through acquireWinDropGroup; tests hand their own.
void setWinDropGroup(const XTWinDropGroup* group) noexcept;

// The host's file record of an existing file; false when the host has
// no drop group or no such file.
bool xt_makefilespec(const char* path, XTFileSpec* spec);

// The host's import filter extensions for a content kind (";"-separated, no
// dots); empty without a drop group or filters.
std::string xt_importextensions(std::int16_t contentKind);

// Hands the module's code and the drag's target window to the host.
void xt_dragaccepted(XTWindow target);

// Tells the host of the box's slug before its content is replaced.
void xt_slugnotice(XTBoxID box, std::int16_t kind, OSType key, std::int32_t value);

// True when the layers module is there and calls the current layer locked
// (its flag 1): then nothing may be dropped on it.
bool currentLayerLocked();

// Box kind (XT_BOX_...) of a box, 0 for none or an unknown box.
std::int16_t xt_boxkind(XTBoxID box);
// Clears the selection of the current document.
void xt_deselectall();
// Brings a window to the front.
void xt_selectwindow(XTWindow window);
// Imports a text file into a text box: the host's answer, -1 when it could
// not be asked.
XTError xt_importtext(XTBoxID box, const char* path);
// The host's clipping set-up for the box's picture.
XTError xt_setupclipping(XTBoxID box);
// The picture scale a box made from the record gets, 16.16 both ways.
void xt_setrecordpicturescale(XTHandle record, Fixed horizontal, Fixed vertical);

}  // namespace lumbrel
