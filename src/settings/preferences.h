// The module's preferences: the one settings store (the ".ini" file beside
// the module) and the switches held in memory for fast access.
#pragma once

#include <cstdint>

#include "settings/settings_store.h"

namespace lumbrel {

// Section and key names of the settings file.
namespace pref {
inline constexpr const char* kDefault = "Default";
inline constexpr const char* kLabels = "Labels";
inline constexpr const char* kImgList = "ImgList";
inline constexpr const char* kSwapping = "Swapping";
inline constexpr const char* kOpenWith = "OpenWith";

inline constexpr const char* kDragAndDrop = "DragAndDrop";
inline constexpr const char* kEdit = "Edit";
inline constexpr const char* kRGBWarning = "RGBWarning";
inline constexpr const char* kEPSWarning = "EPSWarning";
inline constexpr const char* kJPGWarning = "JPGWarning";
inline constexpr const char* kSaveWarning = "SaveWarning";
inline constexpr const char* kFitToBox = "FitToBox";
inline constexpr const char* kScale = "Scale";
inline constexpr const char* kLogging = "Logging";
inline constexpr const char* kCopyPath = "CopyPath";
inline constexpr const char* kSubfolders = "Subfolders";
inline constexpr const char* kShowPDFOptions = "ShowPDFOptions";
inline constexpr const char* kClip = "Clip";
inline constexpr const char* kSwapOnDrop = "SwapOnDrop";
// Additions beyond the original set: one report before output, a summary
// after relinking.
inline constexpr const char* kCheckSummary = "CheckSummary";
inline constexpr const char* kSyncReport = "SyncReport";
// Effective resolution check before output, and link status on screen labels.
inline constexpr const char* kWarnEffectivePpi = "WarnEffectivePpi";
inline constexpr const char* kMinEffectivePpi = "MinEffectivePpi";
inline constexpr const char* kStatusColours = "StatusColours";
inline constexpr std::int32_t kDefaultMinEffectivePpi = 300;
}  // namespace pref

// The preferences store, reached by every part that remembers something.
CMySettings* getPrefs() noexcept;

// (Re)reads the settings file beside the module (getModulePath() with the
// extension ".ini"), refreshes the values in memory and hands the log level
// to the log.
void loadPrefs();

bool getDragAndDrop() noexcept;
bool getEdit() noexcept;
bool getRGBWarning() noexcept;
bool getICCWarning() noexcept;
bool getJPGWarning() noexcept;
bool getSaveWarning() noexcept;
std::int32_t getFitToBox() noexcept;
std::int32_t getScale() noexcept;
std::int16_t getLogLevel() noexcept;
char getCopyPathKey() noexcept;  // 0 never matches a key press
// Off unless stored as 1, so that a settings file without them keeps the
// alerts one by one and adds no summary.
bool getCheckSummary() noexcept;
bool getSyncReport() noexcept;
bool getWarnEffectivePpi() noexcept;
std::int32_t getMinEffectivePpi() noexcept;  // 1 or more; other stored values read as 300
bool getStatusColours() noexcept;

// Read from the store at each use, default 1.
std::int32_t getSearchSubfolders();
std::int32_t getShowPDFOptions();

// The switches the preference pane edits, and applying them: values in
// memory, the settings file and the log follow.
struct PrefSwitches {
    bool dragAndDrop = false;
    bool edit = false;
    bool rgbWarning = false;
    bool iccWarning = false;
    bool jpgWarning = false;
    std::int16_t logLevel = 0;
    bool checkSummary = false;
    bool syncReport = false;
    // Only the panes that show them change these two.
    bool hasFolderOptions = false;
    std::int32_t showPDFOptions = 1;
    std::int32_t searchSubfolders = 1;
    bool warnEffectivePpi = false;
    std::int32_t minEffectivePpi = pref::kDefaultMinEffectivePpi;
    bool statusColours = false;
};
PrefSwitches currentPrefSwitches();
void applyPrefSwitches(const PrefSwitches& switches);

}  // namespace lumbrel
