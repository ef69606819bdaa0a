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

    gStore.set(pref::kDefault, pref::kDragAndDrop, switches.dragAndDrop ? 1 : 0);
    gStore.set(pref::kDefault, pref::kEdit, switches.edit ? 1 : 0);
    gStore.set(pref::kDefault, pref::kRGBWarning, switches.rgbWarning ? 1 : 0);
    gStore.set(pref::kDefault, pref::kEPSWarning, switches.iccWarning ? 1 : 0);
    gStore.set(pref::kDefault, pref::kJPGWarning, switches.jpgWarning ? 1 : 0);
    gStore.set(pref::kDefault, pref::kLogging, switches.logLevel);
    gStore.set(pref::kDefault, pref::kCheckSummary, switches.checkSummary ? 1 : 0);
    gStore.set(pref::kDefault, pref::kSyncReport, switches.syncReport ? 1 : 0);
    if (switches.hasFolderOptions) {
        gStore.set(pref::kDefault, pref::kShowPDFOptions, switches.showPDFOptions);
        gStore.set(pref::kDefault, pref::kSubfolders, switches.searchSubfolders);
    }
    setupDump(switches.logLevel);
    gStore.save();
}

}  // namespace lumbrel
