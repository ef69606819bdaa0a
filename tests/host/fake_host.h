// A small host for the unit tests of the host layer: one document of spreads
// holding boxes, menus, slugs, handles and the registrations, reached by the
// module through group tables that the fake's bindGroup fills. Tests set the
// fields, start the module through its activation and start-up, and look at
// what the module did.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "xtapi.h"

namespace lumbrel::test {

inline constexpr Fixed kPt = 0x10000;  // one point in 16.16

struct FakeBox {
    XTBoxID id = 0;
    std::int16_t kind = XT_BOX_PICTURE;
    XTFixedRect bounds{};
    std::string picturePath;  // empty: no picture file
    OSType colorSpace = 0;
    std::vector<XTBoxID> members;  // of a group box
};

struct FakeFill {
    XTPort port;
    double left, top, right, bottom;
    XTColor color;
};

struct FakeText {
    XTPort port;
    XTFontInst font;
    std::u16string units;
    double x, y;
    XTColor color;
};

struct Registration {
    std::int32_t code;
    std::int32_t a, b, c;
};

struct MenuItem {
    XTMenuRef menu;
    XTCommandID command;
    std::string title;
};

class FakeHost {
public:
    // --- activation ---
    std::uint32_t compatibilityAnswer = 1;
    std::vector<std::uint32_t> compatibilityArguments;  // module code, reserved, api, host version, reserved
    std::int32_t registrationValue = -1;
    XTCallbackProc startupProc = nullptr;
    XTCallbackProc paneAllocProc = nullptr;
    std::vector<std::int32_t> startupArguments;

    // --- start-up ---
    std::string refusedGroup;  // bindGroup answers an error for this name
    bool refuseStringGroup = false;
    bool hasPDFModule = false;
    bool hasLayersModule = false;
    bool hasDataExchange = false;
    std::vector<std::string> boundGroups;  // in the order asked
    XTSetupRec setup{};
    std::vector<Registration> registrations;
    std::map<std::int32_t, XTCallbackProc> callbacks;

    // --- start-up, Windows form: interface tables by name and version ---
    using InterfaceKey = std::pair<OSType, std::int32_t>;
    std::vector<InterfaceKey> interfacesAsked;  // in the order asked
    InterfaceKey refusedInterface{0, -1};       // answered with an error
    InterfaceKey misnamedInterface{0, -1};      // answered with the header of another version
    bool stringInterfaceWithoutDispose = false; // 'QLIS' 1 lacks its last function

    // --- the document ---
    bool documentOpen = true;
    bool library = false;
    std::int16_t dirty = 0;
    std::int16_t unit = 0;  // XT_UNIT_... of the document
    std::string documentPath;
    std::string projectName = "Project1";
    std::vector<std::vector<FakeBox>> spreads;  // spread n is spreads[n - 1]
    XTBoxID currentBox = 0;
    std::int16_t currentSpread = 1;
    Fixed viewScale = kPt;
    XTRect spreadScreenBounds{0, 0, 800, 1200};  // spread 1, pixels at 100 %
    XTPoint windowOrigin{0, 0};                  // global position of the window's local origin
    bool frontIsDocWindow = true;
    std::int16_t originSpread = 0;               // last setSpreadOrigin
    int redraws = 0;
    std::vector<std::pair<XTBoxID, std::string>> imports;

    // --- slugs and handles ---
    std::map<std::tuple<XTBoxID, std::int16_t, OSType>, std::string> slugs;
    XTError slugError = 0;   // answered by setSlug when not 0
    bool noMemory = false;   // newHandle fails
    std::vector<XTError> shownErrors;
    std::map<XTHandle, std::string> handles;
    XTHandle nextHandle = 1;

    // --- menus ---
    std::vector<MenuItem> menuItems;
    std::map<XTCommandID, bool> enabled;
    std::map<XTCommandID, bool> checked;
    XTCommandID nextCommand = 500;

    // --- preference pane ---
    std::int16_t nextDialogID = 7;
    std::vector<std::pair<std::int32_t, std::int16_t>> insertedPanes;
    XTWapHandler paneHandler = nullptr;
    std::map<std::int16_t, std::int32_t> buttonValues;
    std::vector<std::pair<std::int16_t, std::int32_t>> buttonSetups;
    std::vector<std::pair<std::int16_t, std::int32_t>> standardButtons;

    // --- drag ---
    std::map<std::int32_t, XTDragHandlers> dragHandlers;

    // --- fonts, drawing and print output ---
    std::int16_t outputKind = XT_OUTPUT_SCREEN;  // what printInfo reports
    std::string postScript;                      // every byte given to psOutput
    int psOutputCalls = 0;
    Fixed unitWidth = 5 * kPt;                   // advance of every UTF-16 unit
    std::vector<std::string> fontNamesAsked;
    std::vector<XTFontDesc> fontInstances;       // made, in order; instance n is n + 1
    std::vector<XTFontInst> disposedFonts;
    std::vector<FakeFill> fills;
    std::vector<FakeText> texts;

    // Helpers.
    FakeBox& addBox(std::int16_t spread, XTBoxID id, std::int16_t kind, XTFixedRect bounds,
                    std::string picturePath = {});
    FakeBox* findBox(XTBoxID id);
    void setIdentifier(XTBoxID box, const std::string& identifier);
    std::string identifier(XTBoxID box) const;
    std::vector<std::int32_t> registeredCodes() const;
    // Runs the callback registered for `code` (0 when none is).
    std::int32_t call(std::int32_t code, void* record);
};

// The host the fake group functions answer for. `resetFakeHost` makes a new
// one and clears the module's host tables and menu state.
FakeHost& fakeHost();
void resetFakeHost();

XTActivationRec fakeActivationRecord();
const XTCallbackRec* fakeCallbackRecord();

// Activation and, when the start-up callback was registered, start-up.
// Answers the first refusal or 0.
std::int32_t startModule();

XTFixedRect rectPt(int top, int left, int bottom, int right);

}  // namespace lumbrel::test
