#include "settings/preferences.h"

#include <limits>

#include "settings/resources.h"
#include "util/log.h"

namespace lumbrel {

namespace {

CMySettings gStore;

struct PrefValues {
    bool dragAndDrop = false;
    bool edit = false;
    bool rgbWarning = false;
    bool iccWarning = false;
    bool jpgWarning = false;
    bool saveWarning = false;
    bool checkSummary = false;
    bool syncReport = false;
    std::int32_t fitToBox = 1;  // until the first load
    std::int32_t scale = 0;
    std::int16_t logLevel = 0;
    char copyPathKey = 0;
    bool warnEffectivePpi = false;
    std::int32_t minEffectivePpi = pref::kDefaultMinEffectivePpi;
    bool statusColours = false;
};
PrefValues gValues;

// A switch is on only when its stored number is exactly 1.
bool readSwitch(const char* key, std::int32_t defaultValue) {
    return gStore.get(pref::kDefault, key, defaultValue) == 1;
}

std::int16_t clampToShort(std::int32_t value) noexcept {
    if (value > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (value < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(value);
}

std::int32_t usableThreshold(std::int32_t value) noexcept {
    return value >= 1 ? value : pref::kDefaultMinEffectivePpi;
}

bool hasKey(const char* key) {
    // No single default can tell a stored value from a missing one.
    return gStore.get(pref::kDefault, key, -1) != -1 || gStore.get(pref::kDefault, key, -2) != -2;
}

// Keys that came after the first settings files are written only once they
// matter, so that applying the pane leaves such a file as it was.
void setLaterKey(const char* key, std::int32_t value, std::int32_t defaultValue) {
    if (value != defaultValue || hasKey(key)) gStore.set(pref::kDefault, key, value);
}

}  // namespace

CMySettings* getPrefs() noexcept {
    return &gStore;
}

void loadPrefs() {
    gStore.setupWithPath(getModulePath());

    gValues.dragAndDrop = readSwitch(pref::kDragAndDrop, 1);
    gValues.edit = readSwitch(pref::kEdit, 1);
    gValues.rgbWarning = readSwitch(pref::kRGBWarning, 0);
    gValues.iccWarning = readSwitch(pref::kEPSWarning, 0);
    gValues.jpgWarning = readSwitch(pref::kJPGWarning, 0);
    gValues.saveWarning = readSwitch(pref::kSaveWarning, 0);
    gValues.checkSummary = readSwitch(pref::kCheckSummary, 0);
    gValues.syncReport = readSwitch(pref::kSyncReport, 0);
    gValues.fitToBox = gStore.get(pref::kDefault, pref::kFitToBox, 0);
    gValues.scale = gStore.get(pref::kDefault, pref::kScale, 100);
    gValues.logLevel = clampToShort(gStore.get(pref::kDefault, pref::kLogging, 0));
    setupDump(gValues.logLevel);

    char copyPath[32] = {};
    gStore.get(pref::kDefault, pref::kCopyPath, copyPath, sizeof copyPath);
    gValues.copyPathKey = copyPath[0];

    gValues.warnEffectivePpi = readSwitch(pref::kWarnEffectivePpi, 0);
    gValues.minEffectivePpi =
        usableThreshold(gStore.get(pref::kDefault, pref::kMinEffectivePpi, pref::kDefaultMinEffectivePpi));
    gValues.statusColours = readSwitch(pref::kStatusColours, 0);
}

bool getDragAndDrop() noexcept { return gValues.dragAndDrop; }
bool getEdit() noexcept { return gValues.edit; }
bool getRGBWarning() noexcept { return gValues.rgbWarning; }
bool getICCWarning() noexcept { return gValues.iccWarning; }
bool getJPGWarning() noexcept { return gValues.jpgWarning; }
bool getSaveWarning() noexcept { return gValues.saveWarning; }
std::int32_t getFitToBox() noexcept { return gValues.fitToBox; }
std::int32_t getScale() noexcept { return gValues.scale; }
std::int16_t getLogLevel() noexcept { return gValues.logLevel; }
char getCopyPathKey() noexcept { return gValues.copyPathKey; }
bool getCheckSummary() noexcept { return gValues.checkSummary; }
bool getSyncReport() noexcept { return gValues.syncReport; }
bool getWarnEffectivePpi() noexcept { return gValues.warnEffectivePpi; }
std::int32_t getMinEffectivePpi() noexcept { return gValues.minEffectivePpi; }
bool getStatusColours() noexcept { return gValues.statusColours; }

std::int32_t getSearchSubfolders() {
    return gStore.get(pref::kDefault, pref::kSubfolders, 1);
}

std::int32_t getShowPDFOptions() {
    return gStore.get(pref::kDefault, pref::kShowPDFOptions, 1);
}

PrefSwitches currentPrefSwitches() {
    PrefSwitches switches;
    switches.dragAndDrop = gValues.dragAndDrop;
    switches.edit = gValues.edit;
    switches.rgbWarning = gValues.rgbWarning;
    switches.iccWarning = gValues.iccWarning;
    switches.jpgWarning = gValues.jpgWarning;
    switches.logLevel = gValues.logLevel;
    switches.checkSummary = gValues.checkSummary;
    switches.syncReport = gValues.syncReport;
    switches.showPDFOptions = getShowPDFOptions();
    switches.searchSubfolders = getSearchSubfolders();
    switches.warnEffectivePpi = gValues.warnEffectivePpi;
    switches.minEffectivePpi = gValues.minEffectivePpi;
    switches.statusColours = gValues.statusColours;
    return switches;
}

void applyPrefSwitches(const PrefSwitches& switches) {
    gValues.dragAndDrop = switches.dragAndDrop;
    gValues.edit = switches.edit;
    gValues.rgbWarning = switches.rgbWarning;
    gValues.iccWarning = switches.iccWarning;
    gValues.jpgWarning = switches.jpgWarning;
    gValues.logLevel = switches.logLevel;
    gValues.checkSummary = switches.checkSummary;
    gValues.syncReport = switches.syncReport;
    gValues.warnEffectivePpi = switches.warnEffectivePpi;
    gValues.minEffectivePpi = usableThreshold(switches.minEffectivePpi);
    gValues.statusColours = switches.statusColours;

    gStore.set(pref::kDefault, pref::kDragAndDrop, switches.dragAndDrop ? 1 : 0);
    gStore.set(pref::kDefault, pref::kEdit, switches.edit ? 1 : 0);
    gStore.set(pref::kDefault, pref::kRGBWarning, switches.rgbWarning ? 1 : 0);
    gStore.set(pref::kDefault, pref::kEPSWarning, switches.iccWarning ? 1 : 0);
    gStore.set(pref::kDefault, pref::kJPGWarning, switches.jpgWarning ? 1 : 0);
    gStore.set(pref::kDefault, pref::kLogging, switches.logLevel);
    if (switches.hasFolderOptions) {
        gStore.set(pref::kDefault, pref::kShowPDFOptions, switches.showPDFOptions);
        gStore.set(pref::kDefault, pref::kSubfolders, switches.searchSubfolders);
    }
    setLaterKey(pref::kWarnEffectivePpi, switches.warnEffectivePpi ? 1 : 0, 0);
    setLaterKey(pref::kMinEffectivePpi, gValues.minEffectivePpi, pref::kDefaultMinEffectivePpi);
    setLaterKey(pref::kCheckSummary, switches.checkSummary ? 1 : 0, 0);
    setLaterKey(pref::kSyncReport, switches.syncReport ? 1 : 0, 0);
    setLaterKey(pref::kStatusColours, switches.statusColours ? 1 : 0, 0);
    setupDump(switches.logLevel);
    gStore.save();
}

}  // namespace lumbrel
