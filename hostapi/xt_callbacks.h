/* Callback codes and the records the host hands to each callback. Every
 * callback is `XTCallbackProc`: it gets the record of its code and answers
 * 0, so that the host always goes on with its own handling. */
#ifndef XT_CALLBACKS_H
#define XT_CALLBACKS_H

#include "xt_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t (*XTCallbackProc)(void* record);

/* ---- callback codes --------------------------------------------------------- */
#define XT_CB_SHUTDOWN 4           /* host quits: release what start-up made */
#define XT_CB_LANGUAGE 5           /* XTLanguageRec: host region code */
#define XT_CB_MENUSETUP 6          /* XTMenuSetupRec: add the module's menu items */
#define XT_CB_MENUUPDATE 7         /* no record: enable or disable the items */
#define XT_CB_EVENT 10             /* XTEventRec: every event the host sees */
#define XT_CB_SWITCHIN 12          /* no record: the host application came to the front */
#define XT_CB_DOCOPEN 46           /* XTDocRec: a document was opened */
#define XT_CB_DRAWBOX 66           /* XTDrawBoxRec: a box is being drawn */
#define XT_CB_IDLE_UNUSED 74       /* registered, does nothing */
#define XT_CB_PREFPANE_INSERT 279  /* XTPaneInsertRec: add the module's pane to the preferences dialog */
#define XT_CB_PRINTJOB_START 282   /* XTPrintJobRec */
#define XT_CB_PRINTJOB_END 283     /* XTPrintJobRec */
#define XT_CB_DOCSAVE 610          /* XTDocRec: a document is about to be saved */
#define XT_CB_COMMAND 618          /* XTCommandRec: a menu command was chosen */
#define XT_CB_DRAGVIEW 1064        /* XTDragViewRec: a view kind offers drag handlers */

/* Every registration carries three numbers besides its code and function:
 * (XT_REGISTER_MAC, XT_REGISTRATION_VALUE, 0); the event callback is
 * registered with (XT_REGISTER_MAC, XT_EVENT_REGISTRATION, 0). */
#define XT_REGISTER_MAC 7
#define XT_REGISTER_WIN 5
#define XT_EVENT_REGISTRATION 10

/* ---- records ------------------------------------------------------------------ */

/* Callback 6. The menus to add to are the third and fifth 32-bit words. */
typedef struct XTMenuSetupRec {
    int32_t size;        /* bytes of the record */
    int32_t reserved1;
    XTMenuRef itemsMenu; /* third word: the menu that gets "Image List" and "Swap" */
    int32_t reserved2;
    XTMenuRef viewMenu;  /* fifth word: the menu that gets "Show Image Names" */
} XTMenuSetupRec;

/* Callback 618. The command number is the fifth 16-bit word. */
typedef struct XTCommandRec {
    int16_t size;
    int16_t reserved[3];
    int16_t command;     /* command id of a module item, or a host command number */
} XTCommandRec;

/* Callback 10: a classic event record. */
typedef struct XTEventRec {
    uint16_t what;       /* XT_EVT_... */
    uint32_t message;    /* key events: low byte is the character code */
    uint32_t when;       /* ticks (1/60 s) */
    XTPoint where;       /* global mouse position */
    uint16_t modifiers;  /* XT_MOD_... */
} XTEventRec;

/* Callback 5. The region code is the fifth 16-bit word. */
typedef struct XTLanguageRec {
    int16_t size;
    int16_t reserved[3];
    int16_t regionCode;  /* 3 or 19: German; everything else English */
} XTLanguageRec;

/* Callbacks 46 and 610. */
typedef struct XTDocRec {
    int32_t size;
    XTDocID docID;
} XTDocRec;

/* Callback 66. */
typedef struct XTDrawBoxRec {
    int32_t size;
    XTBoxID box;         /* the box being drawn */
    int16_t phase;       /* XT_DRAW_PHASE_CONTENT is the one labels use */
    XTPort port;         /* where the drawing functions draw */
} XTDrawBoxRec;

/* Callbacks 282 and 283. */
typedef struct XTPrintJobRec {
    int32_t size;
    XTDocID docID;
    int16_t outputKind;  /* XT_OUTPUT_... of the job */
} XTPrintJobRec;

/* Callback 1064. The view kind is the third 32-bit word. */
typedef struct XTDragViewRec {
    int32_t size;
    int32_t reserved;
    int32_t viewKind;    /* XT_VIEW_LAYOUT: layout views */
} XTDragViewRec;

/* Drag handlers a module registers for a view kind (xtxqd group). Each
 * answers 1 to accept, 0 to refuse. */
typedef struct XTDragInfo {
    XTViewRef view;      /* the view under the drag */
    XTWindow window;     /* its window */
    XTPoint where;       /* global mouse position */
    int32_t dropEffect;  /* XT_DROP_EFFECT_... flags */
    uint16_t modifiers;
} XTDragInfo;
typedef int32_t (*XTDragProc)(const XTDragInfo* info);
typedef struct XTDragHandlers {
    XTDragProc entered;
    XTDragProc within;
    XTDragProc left;
    XTDragProc drop;
} XTDragHandlers;

/* Callback 279 and the pane's dialog handler (xtwap group). */
typedef struct XTPaneInsertRec {
    int32_t size;
    int32_t tabControl;  /* the host's preferences tab control */
} XTPaneInsertRec;

#define XT_WAP_RESOURCE_ID 1   /* answer the pane's dialog resource id in `value` */
#define XT_WAP_CONTROL_SETUP 2 /* set up controls; `mode` 1: the host's own set-up */
#define XT_WAP_OPEN 3          /* fill the controls; `mode` 1: set up OK and Cancel */
#define XT_WAP_ITEM_HIT 4      /* `item` was clicked */
#define XT_WAP_APPLY 5         /* the host's own OK of its preferences dialog */
typedef struct XTWapMessage {
    int16_t kind;        /* XT_WAP_... */
    int16_t item;        /* item number for XT_WAP_ITEM_HIT */
    int16_t mode;
    int32_t value;       /* answers, by kind */
    int16_t handled;     /* set to 1 by a handler that handled the message */
    int16_t endDialog;   /* set to 1 to end the dialog with result `value` */
} XTWapMessage;
typedef int32_t (*XTWapHandler)(XTWapMessage* message);

#ifdef __cplusplus
}
#endif

#endif /* XT_CALLBACKS_H */
