// The host's function groups as the module holds them: one table per group,
// filled by the host at start-up and never released. Only the host layer
// (the xt_/XT wrappers, the callbacks and the start-up) reads these tables;
// feature code goes through the wrappers.
#pragma once

#include <cstdint>
#include <span>

#include "host/host_form.h"
#include "xtapi.h"

namespace lumbrel {

// Groups bound by name, in the order start-up binds them.
extern XTDocGroup gXtDoc;
extern XTDocDisplayGroup gXtDocDisplay;
extern XTWindowGroup gXtWindow;
extern XTBoxGroup gXtBox;
extern XTGroupGroup gXtGroup;
extern XTFixedRectGroup gXtFixedRect;
extern XTBoxRecordGroup gXtBoxRecord;
extern XTPictureGroup gXtPicture;
extern XTImportGroup gXtImport;
extern XTPageGroup gXtPage;
extern XTSpreadGroup gXtSpread;
extern XTMasterGroup gXtMaster;
extern XTMenuGroup gXtMenu;
extern XTPrintGroup gXtPrint;
extern XTUtilityGroup gXtUtility;
extern XTErrorGroup gXtError;
extern XTMemoryGroup gXtMemory;
extern XTSystemGroup gXtSystem;
extern XTProjectGroup gXtProject;
extern XTSlugGroup gXtSlug;
extern XTFontGroup gXtFont;
extern XTDrawGroup gXtDraw;
extern XTWapGroup gXtWap;
extern XTButtonGroup gXtButton;
extern XTDragGroup gXtDrag;
extern XTFileGroup gXtFile;

// Groups acquired by identifier: the host's own tables, null until acquired.
extern const XTStringGroup* gXtString;              // Mac form
extern const XTStringInterface* gXtStringInterface; // Windows form: 'QLIS' version 1
extern const XTDataExchangeGroup* gXtDataExchange;  // optional
extern const XTPDFGroup* gXtPDF;                    // optional
extern const XTLayerGroup* gXtLayers;               // optional

// Optional-module flags, 0 until detected.
extern std::uint8_t gPDFActive;
extern std::uint8_t gLayersActive;
extern std::uint8_t gDataExchangeActive;

// The host's callback record, kept from start-up for every later service
// call; null before start-up.
extern const XTCallbackRec* gXtCallbacks;

// The module's reference number with the host, copied at activation.
extern std::int16_t gXtRefNum;

// The host's version, asked at start-up.
extern std::uint32_t gXPressVersion;

// First number of every registration, by the build's form of the host interface.
inline constexpr std::int32_t kRegisterKind = kHostForm.registerKind;

// Binds every named group in a fixed order, then acquires the string group
// (Mac form) or the host interface tables (Windows form). Answers 0, or
// XT_REFUSE at the first group or table the host will not give (later ones
// are not tried). Whatever was bound before a failure stays bound.
std::int32_t bindHostGroups(const XTCallbackRec* callbacks, const HostForm& form = kHostForm);

// One interface table the Windows form acquires at start-up.
struct InterfaceRequest {
    OSType id;
    std::int32_t version;
};

// The tables in the order they are acquired: 'QLIU' 0-3, 'QLID' 0-11,
// 'QLIS' 0, 2, 1 (string arrays, mutable strings, strings), 'QLOT' 0.
std::span<const InterfaceRequest> hostInterfaceRequests() noexcept;

// True once bindHostGroups succeeded: callbacks that can arrive before
// start-up (the pane allocation) test it before touching a table.
bool hostGroupsBound() noexcept;

// Looks up the optional host modules and the data-exchange group and sets
// their flags; a missing one leaves its flag at 0 and is not reported.
void detectOptionalModules();

// Registers a callback with the host; false when there is no host record or
// the host refused it.
bool registerHostCallback(std::int32_t code, XTCallbackProc proc, std::int32_t a, std::int32_t b, std::int32_t c);

// Back to the state before start-up: empty tables, no record, flags 0. For
// the unit tests, which start the module many times in one process.
void resetHostGroups() noexcept;

}  // namespace lumbrel
