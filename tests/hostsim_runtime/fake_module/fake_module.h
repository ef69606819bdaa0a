// A small module for testing the host simulator without the real one. It
// activates and starts up like a well-behaved module (compatibility check,
// every named group bound, strings acquired, optional modules looked up, a
// full callback table registered, two menu items, drag handlers, a
// preference pane), and lets a test run its own code inside any callback
// through hooks, with the host's tables the module bound.
//
// The test loads the same file with dlopen first, so the simulator's load
// finds the instance the test configured.
#ifndef FAKE_MODULE_H
#define FAKE_MODULE_H

#include "xtapi.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FakeTables {
    const XTCallbackRec* callbacks;
    XTDocGroup doc;
    XTDocDisplayGroup display;
    XTWindowGroup window;
    XTBoxGroup box;
    XTGroupGroup group;
    XTFixedRectGroup fixedRect;
    XTBoxRecordGroup boxRecord;
    XTPictureGroup picture;
    XTImportGroup import;
    XTPageGroup page;
    XTSpreadGroup spread;
    XTMasterGroup master;
    XTMenuGroup menu;
    XTPrintGroup print;
    XTUtilityGroup utility;
    XTErrorGroup error;
    XTMemoryGroup memory;
    XTSystemGroup system;
    XTProjectGroup project;
    XTSlugGroup slug;
    XTFontGroup font;
    XTDrawGroup draw;
    XTWapGroup wap;
    XTButtonGroup button;
    XTDragGroup drag;
    XTFileGroup file;
    const XTStringGroup* strings;
    const XTDataExchangeGroup* dataExchange; /* null when absent */
    const XTPDFGroup* pdf;                   /* null when absent */
    const XTLayerGroup* layers;              /* null when absent */
    XTMenuRef viewMenu, itemsMenu;           /* from menu set-up */
    XTCommandID viewItem, utilitiesItem;     /* the two items */
    int16_t dialogID;                        /* the pane's */
} FakeTables;

/* Runs inside a callback after the module's own handling; its answer is the
 * callback's. */
typedef int32_t (*FakeHook)(void* record);

/* Hook codes besides the callback codes. */
#define FAKE_HOOK_ACTIVATION (-1) /* end of XTActivateCallback, record: the activation record */
#define FAKE_HOOK_STARTUP (-2)    /* end of start-up, before the callbacks are registered */
#define FAKE_HOOK_PANE (-3)       /* the pane's handler, record: the XTWapMessage */
#define FAKE_HOOK_DRAG_ENTERED (-4)
#define FAKE_HOOK_DROP (-5)       /* record: the XTDragInfo */
#define FAKE_HOOK_BEFORE_BIND (-6) /* start of start-up, before any group is bound */

/* Back to the defaults: no hooks, every table cleared. */
void fake_reset(void);
void fake_set_hook(int32_t code, FakeHook hook);
FakeTables* fake_tables(void);
/* Callback codes the module was called with since the last reset, in order
 * (at most `capacity`); answers the number of calls. */
int32_t fake_calls(int32_t* codes, int32_t capacity);

#ifdef __cplusplus
}
#endif

#endif /* FAKE_MODULE_H */
