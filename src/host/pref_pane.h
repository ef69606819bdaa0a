// The module's pane in the host's preferences dialog: its dialog id, its
// insertion into the host's tab control, and the pane's dialog handler that
// shows and applies the main preference switches.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// Item numbers of the pane.
namespace pane {
inline constexpr std::int16_t kOK = 1;
inline constexpr std::int16_t kCancel = 2;
inline constexpr std::int16_t kDragAndDrop = 3;
inline constexpr std::int16_t kEdit = 4;
inline constexpr std::int16_t kRGBWarning = 5;
inline constexpr std::int16_t kEPSWarning = 6;
inline constexpr std::int16_t kJPGWarning = 7;
inline constexpr std::int16_t kLogging = 8;
inline constexpr std::int16_t kShowPDFOptions = 9;
inline constexpr std::int16_t kSubfolders = 10;
// Effective resolution warning: a check box, the threshold's number field
// and its unit; the one report before output and the summary after
// relinking; then the status colours of screen labels.
inline constexpr std::int16_t kWarnEffectivePpi = 11;
inline constexpr std::int16_t kMinEffectivePpi = 12;
inline constexpr std::int16_t kCheckSummary = 14;
inline constexpr std::int16_t kSyncReport = 15;
inline constexpr std::int16_t kStatusColours = 16;
// The items that hold a value, the host's control set-up goes over (item 13
// is the threshold's unit, a plain text).
inline constexpr std::int16_t kValueItems[] = {
    kOK,         kCancel,       kDragAndDrop,      kEdit,           kRGBWarning,   kEPSWarning,
    kJPGWarning, kLogging,      kShowPDFOptions,   kSubfolders,     kWarnEffectivePpi,
    kMinEffectivePpi, kCheckSummary, kSyncReport,  kStatusColours};
// The pane's dialog resource in English; each language adds 100 per number.
inline constexpr std::int16_t kResourceID = 28051;
}  // namespace pane

// Asks the host for the pane's dialog id (the pane allocation callback).
// Does nothing before the host's groups are bound.
void allocPrefDlgWAP();
std::int16_t prefDialogID() noexcept;

// Registers the pane-insertion callback (279), which adds the pane to the
// host's preferences tab control and registers its dialog handler.
bool registerPrefDlgWAP();

// The pane's dialog handler; answers 0.
std::int32_t prefPaneHandler(XTWapMessage* message);

}  // namespace lumbrel
