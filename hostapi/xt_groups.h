/* The host's function groups: one table of functions each, bound by name
 * (XTCallbackRec.bindGroup fills the module's table) or acquired by
 * identifier (XTCallbackRec.acquireGroup hands out the host's table).
 * Every table starts with its size in bytes. Every function works on the
 * current document unless it takes a document; without a document open,
 * functions answer 0, -1 or nothing and enumerations find nothing. Texts are
 * UTF-8, paths POSIX. Yes/no answers are bytes with exactly 1 meaning yes. */
#ifndef XT_GROUPS_H
#define XT_GROUPS_H

#include "xt_callbacks.h"
#include "xt_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* "xtdoc": documents. */
typedef struct XTDocGroup {
    uint32_t size;
    XTDocID (*curDocID)(void);                                   /* current document, -1 when none */
    XTDocRef (*docRef)(XTDocID doc);                             /* its reference, -1 when none */
    uint8_t (*isLibrary)(XTDocID doc);                           /* 1 for a library document */
    int16_t (*dirtyFlag)(void);                                  /* change state; XT_DIRTY_CHANGED = unsaved changes */
    void (*setDirtyFlag)(int16_t state);                         /* sets the change state */
    int32_t (*docPath)(XTDocID doc, char* buffer, int32_t size); /* file path length, 0 when never saved */
    void (*redraw)(XTDocID doc);                                 /* redraws the document's current page; 0 = current */
    XTWindow (*docWindow)(void);                                 /* window of the current document, 0 when none */
    int16_t (*horizontalUnit)(void);                             /* horizontal measurement unit, XT_UNIT_... */
} XTDocGroup;

/* Measurement units by the host's preference codes. */
#define XT_UNIT_INCHES 0
#define XT_UNIT_MILLIMETRES 1
#define XT_UNIT_PICAS 2
#define XT_UNIT_POINTS 3
#define XT_UNIT_INCHES_DECIMAL 4
#define XT_UNIT_CICEROS 5
#define XT_UNIT_AGATES 6
#define XT_UNIT_CENTIMETRES 7

/* "xtdocdisplay": document views. */
typedef struct XTDocDisplayGroup {
    uint32_t size;
    Fixed (*viewScale)(void);                               /* view scale of the current view; 1.0 = 100 % */
    Fixed (*docScaleFactor)(void);                          /* scale factor of the document; 1.0 normally */
    XTViewRef (*viewOfWindow)(XTWindow window);             /* the layout view of a window, 0 when none */
    XTDocID (*viewDoc)(XTViewRef view);                     /* the document shown in a view */
    int16_t (*viewCurPage)(XTViewRef view);                 /* current page of a view */
    void (*setSpreadOrigin)(int16_t spread);                /* makes the spread's origin the local origin */
    void (*globalToLocal)(XTWindow window, XTPoint* point); /* global screen point to window-local pixels */
    int16_t (*spreadScreenBounds)(int16_t spread, XTRect* bounds); /* pixels at 100 %; 0 = done */
} XTDocDisplayGroup;

/* "xtwindow": windows. */
typedef struct XTWindowGroup {
    uint32_t size;
    XTWindow (*curWindow)(void);             /* frontmost window */
    uint8_t (*isDocWindow)(XTWindow window); /* 1 for a layout document window */
    void (*selectWindow)(XTWindow window);   /* brings a window to the front */
} XTWindowGroup;

/* "xtbox": boxes of the current document. */
typedef struct XTBoxGroup {
    uint32_t size;
    XTBoxID (*firstBox)(int16_t spread);                    /* first box of a spread in chain order, 0 when none */
    XTBoxID (*nextBox)(XTBoxID box);                        /* next box in chain order, 0 after the last */
    XTBoxID (*curBox)(void);                                /* current box, 0 when none */
    void (*setCurBox)(XTBoxID box);                         /* makes a box current and selected */
    void (*deselectAll)(void);                              /* clears the selection */
    int16_t (*boxKind)(XTBoxID box);                        /* XT_BOX_..., 0 for an unknown box */
    uint8_t (*isPictureBox)(XTBoxID box);                   /* 1 for a picture box */
    uint8_t (*isGroupBox)(XTBoxID box);                     /* 1 for a group */
    XTError (*getBounds)(XTBoxID box, XTFixedRect* bounds); /* spread coordinates */
    XTError (*setBounds)(XTBoxID box, const XTFixedRect* bounds);
    int16_t (*boxSpread)(XTBoxID box);                      /* spread of a box, 0 when unknown */
    /* 1 when the box is no picture box but the host can import a picture
     * into it all the same (a box whose content the host would turn into a
     * picture); the host decides which. Hosts of older tables leave it 0. */
    uint8_t (*canTakePicture)(XTBoxID box);
} XTBoxGroup;

/* "xtgroup": group boxes. */
typedef struct XTGroupGroup {
    uint32_t size;
    /* Member ids of a group box as XTBoxID values in a new handle (dispose it
     * through xtmemory); the count through `count`. 0 when not a group. */
    XTHandle (*groupMembers)(XTBoxID group, int32_t* count);
} XTGroupGroup;

/* "xtfixedrect": rectangle arithmetic. */
typedef struct XTFixedRectGroup {
    uint32_t size;
    uint8_t (*rectsMeet)(const XTFixedRect* a, const XTFixedRect* b);          /* 1 when they overlap or touch */
    uint8_t (*pointInRect)(const XTFixedPoint* point, const XTFixedRect* rect); /* 1 when inside or on the edge */
} XTFixedRectGroup;

/* "xtxtbox": records of boxes about to be made. */
typedef struct XTBoxRecordGroup {
    uint32_t size;
    XTHandle (*newBoxRecord)(XTDocID doc, int16_t kind, int16_t shape);          /* 0 when none */
    void (*setRecordBounds)(XTHandle record, const XTFixedRect* bounds);
    void (*setRecordPictureScale)(XTHandle record, Fixed horizontal, Fixed vertical);
    XTBoxID (*installBox)(XTDocID doc, int16_t spread, XTHandle record);          /* new box, 0 when none */
    void (*disposeBoxRecord)(XTHandle record);
} XTBoxRecordGroup;

/* "xtpicture": pictures of picture boxes. */
typedef struct XTPictureGroup {
    uint32_t size;
    int32_t (*picturePath)(XTBoxID box, char* buffer, int32_t size); /* path length; 0 when no picture file */
    OSType (*colorSpace)(XTBoxID box);                               /* XT_CS_..., 0 without a picture */
    double (*resolution)(XTBoxID box);                               /* dots per inch */
    int16_t (*status)(XTBoxID box, char* text, int32_t size);        /* status code; its text into `text` */
    XTError (*pictureBounds)(XTBoxID box, XTFixedRect* bounds);      /* picture size in points at (0, 0) */
    XTError (*fitPicture)(XTBoxID box, int16_t mode, int16_t flag);  /* XT_FIT_... */
    XTError (*updatePicture)(XTBoxID box, int16_t option);           /* re-reads the picture file */
    XTError (*setupClipping)(XTBoxID box);                           /* clipping path from the picture */
    /* Later members: hosts of older tables leave them 0 (their size ends before them). */
    double (*resolutionV)(XTBoxID box);                              /* vertical dots per inch; `resolution` is the horizontal */
    XTError (*pictureScale)(XTBoxID box, Fixed* horizontal, Fixed* vertical); /* scale in the box, 16.16, 65536 = 100 % */
} XTPictureGroup;

#define XT_STATUS_OK 0
#define XT_STATUS_MISSING 1
#define XT_STATUS_MODIFIED 2

/* "xtxio": import of files into boxes. */
typedef struct XTImportGroup {
    uint32_t size;
    XTError (*importPicture)(XTBoxID box, const char* path); /* 0 on success, else the host's error */
    XTError (*importText)(XTBoxID box, const char* path);
} XTImportGroup;

/* "xtpage": pages of the current document. Pages count from 1. */
typedef struct XTPageGroup {
    uint32_t size;
    int16_t (*numPages)(void);
    int16_t (*numMasterPages)(void);
    int16_t (*curPage)(void);                                       /* current page, 0 when none */
    int16_t (*pageToSpread)(int16_t page);                          /* spread of a page; 0 = current page */
    int16_t (*seqToPage)(int16_t sequence);                         /* sequence number (masters first) to page */
    XTError (*pageRectInSpread)(int16_t page, XTFixedRect* rect);   /* the page's rectangle, spread coordinates */
    int32_t (*pageName)(int16_t page, char* buffer, int32_t size);  /* displayed page name, length */
    uint8_t (*gotoPage)(int16_t page);                              /* 1 on success */
    Fixed (*pageWidth)(void);
    Fixed (*pageLength)(void);
} XTPageGroup;

/* "xtspread": spreads of the current document. Spreads count from 1. While
 * master pages are shown (xtmaster), numSpreads counts the master spreads
 * and xtbox.firstBox takes spread n as master spread n. */
typedef struct XTSpreadGroup {
    uint32_t size;
    int16_t (*numSpreads)(void);
    int16_t (*curSpread)(void);                              /* spread of the current page */
    XTBoxID (*spreadBox)(int16_t spread);                    /* the spread's own box */
    XTError (*spreadBounds)(int16_t spread, XTFixedRect* bounds);
} XTSpreadGroup;

/* "xtmaster": master pages. */
typedef struct XTMasterGroup {
    uint32_t size;
    uint8_t (*gotoMaster)(int16_t master); /* shows a master page; 1 on success */
    uint8_t (*showingMaster)(void);        /* 1 while a master page is shown */
} XTMasterGroup;

/* "xtmenu": menus. */
typedef struct XTMenuGroup {
    uint32_t size;
    XTCommandID (*newCommandID)(void);                                     /* a fresh command id */
    XTError (*appendItem)(XTMenuRef menu, XTCommandID command, const char* title);
    void (*enableItem)(XTCommandID command, uint8_t enabled);
    void (*checkItem)(XTCommandID command, uint8_t checked);
} XTMenuGroup;

/* "xtprint": printing. */
typedef struct XTPrintInfo {
    int16_t outputKind; /* XT_OUTPUT_... of the running output, XT_OUTPUT_SCREEN outside jobs */
    int16_t reserved;
} XTPrintInfo;
typedef struct XTPrintGroup {
    uint32_t size;
    void (*printInfo)(XTPrintInfo* info);
} XTPrintGroup;

/* "xtutility": miscellany. */
typedef struct XTUtilityGroup {
    uint32_t size;
    XTError (*psOutput)(const void* data, int32_t length); /* into the PostScript at the current box */
} XTUtilityGroup;

/* "xterror": the host's error display. */
typedef struct XTErrorGroup {
    uint32_t size;
    void (*showError)(XTError error); /* shows the host's own alert for an error code */
} XTErrorGroup;

/* "xtmemory": host memory handles. */
typedef struct XTMemoryGroup {
    uint32_t size;
    XTHandle (*newHandle)(int32_t size); /* 0 when no memory */
    void (*disposeHandle)(XTHandle handle);
    void* (*handleData)(XTHandle handle);
    int32_t (*handleSize)(XTHandle handle);
} XTMemoryGroup;

/* "xtsystem": the host application. */
typedef struct XTSystemGroup {
    uint32_t size;
    uint32_t (*hostVersion)(void);
    int16_t (*currentTool)(void); /* XT_TOOL_... */
    uint32_t (*ticks)(void);      /* 1/60 s since the host started */
} XTSystemGroup;

/* "xtproject": the project (layout file). */
typedef struct XTProjectGroup {
    uint32_t size;
    int32_t (*projectName)(char* buffer, int32_t size); /* name length */
} XTProjectGroup;

/* "xtslug": data kept in the document with a box or its picture. */
typedef struct XTSlugGroup {
    uint32_t size;
    /* Copies at most `size` bytes; answers the slug's length, or -1 when there is none. */
    int32_t (*getSlugData)(XTBoxID owner, int16_t kind, OSType key, void* buffer, int32_t size);
    XTHandle (*getSlug)(XTBoxID owner, int16_t kind, OSType key); /* a copy in a new handle, 0 when none */
    XTError (*setSlug)(XTBoxID owner, int16_t kind, OSType key, XTHandle data); /* takes a copy of the data */
} XTSlugGroup;

/* "xtfont": fonts. */
typedef struct XTFontDesc {
    int16_t fontID;
    int16_t style; /* 0 = plain */
    Fixed hSize;
    Fixed vSize;
    int32_t reserved[4];
} XTFontDesc;
typedef struct XTFontGroup {
    uint32_t size;
    int16_t (*fontIDFromName)(const char* name);          /* 0 when unknown: the host substitutes */
    XTFontInst (*newFontInstance)(const XTFontDesc* desc);
    /* advance width of one character, by its code point: a character above
       U+FFFF is one value here, never its two UTF-16 surrogates */
    Fixed (*charWidth)(XTFontInst font, uint32_t codePoint);
    void (*disposeFontInstance)(XTFontInst font);
} XTFontGroup;

/* "xtdraw": drawing into the port of a box draw, document points. */
typedef struct XTDrawGroup {
    uint32_t size;
    void (*fillRect)(XTPort port, double left, double top, double right, double bottom, XTColor color);
    void (*drawText)(XTPort port, XTFontInst font, const uint16_t* units, int32_t count, double x, double y,
                     XTColor color);
} XTDrawGroup;

/* "xtwap": panes of the host's preferences dialog. */
typedef struct XTWapGroup {
    uint32_t size;
    int16_t (*allocDialogID)(void);                               /* a dialog id for a pane */
    XTError (*registerPane)(int16_t dialogID, XTWapHandler handler);
    XTError (*insertPane)(int32_t tabControl, int16_t dialogID);  /* adds the pane to the tab control */
    void (*setupStandardButton)(int16_t item, int32_t value);     /* pane opening: items 1, 2 become OK, Cancel (value 1) */
} XTWapGroup;

/* "xtxdctlbtn": buttons of the dialog the host runs. An edit field's value
 * is its text read as a whole number (0 when it is none), and setting it
 * writes the number as its text. */
typedef struct XTButtonGroup {
    uint32_t size;
    int32_t (*getValue)(int16_t item);
    void (*setValue)(int16_t item, int32_t value);
    void (*setup)(int16_t item, int32_t value); /* control set-up with the host's value */
} XTButtonGroup;

/* "xtxqd": drag handlers of views. */
typedef struct XTDragGroup {
    uint32_t size;
    XTError (*registerDragHandlers)(int32_t viewKind, const XTDragHandlers* handlers);
} XTDragGroup;

/* ---- groups acquired by identifier -------------------------------------------- */

/* 'QSB\1': host strings (UTF-16). */
#define XT_GROUP_STRING XT_FOURCC('Q', 'S', 'B', 1)
struct QXStringRef__;
typedef struct XTStringGroup {
    uint32_t size;
    struct QXStringRef__* (*create)(const uint16_t* units, int32_t length);
    int32_t (*length)(struct QXStringRef__* string);
    int32_t (*copyUnits)(struct QXStringRef__* string, uint16_t* out, int32_t capacity); /* units copied */
    void (*dispose)(struct QXStringRef__* string);
} XTStringGroup;

/* 'DEA\1' (optional): data exchange; the pasteboard of the running drag. */
#define XT_GROUP_DATAEXCHANGE XT_FOURCC('D', 'E', 'A', 1)
typedef struct XTDataExchangeGroup {
    uint32_t size;
    intptr_t (*currentDrag)(void); /* the platform's drag pasteboard, 0 outside a drag */
} XTDataExchangeGroup;

/* "xtfile": file objects and the streams opened on them. A stream stays
 * open after its file object was disposed, until it is closed. */
struct XTFile__;
typedef struct XTFile__* XTFileRef;
struct XTStream__;
typedef struct XTStream__* XTStreamRef;
#define XT_STREAM_READ 1
typedef struct XTStreamOpenRequest { /* 18 bytes */
    int16_t size;                     /* sizeof(XTStreamOpenRequest), 18 */
    int16_t access;                   /* XT_STREAM_READ */
    int16_t reserved[7];              /* 0 */
} XTStreamOpenRequest;
typedef struct XTFileGroup {
    uint32_t size;
    XTFileRef (*create)(void);                                  /* 0 when out of memory */
    XTError (*setLocation)(XTFileRef file, const char* path);  /* the file need not exist yet */
    XTError (*openStream)(XTFileRef file, const XTStreamOpenRequest* request, XTStreamRef* stream);
    XTError (*closeStream)(XTStreamRef stream);
    void (*dispose)(XTFileRef file);
} XTFileGroup;

/* Optional host modules looked up by code. */
#define XT_MODULE_PDF XT_FOURCC('X', 'P', 'D', 'F')
#define XT_MODULE_LAYERS 0x00594C51u

/* The PDF import module's group: import options of PDF pictures. */
typedef struct XTPDFOptions {
    int16_t page;    /* counted from 1 */
    int16_t pageBox; /* 0 media, 1 crop, 2 bleed, 3 trim, 4 art */
    int16_t reserved[2];
} XTPDFOptions;
typedef struct XTPDFGroup {
    uint32_t size;
    int16_t (*getOptions)(XTBoxID box, XTPDFOptions* options); /* page counted from 0; 0 = done */
    int16_t (*setOptions)(const XTPDFOptions* options);         /* options for the next import; 0 = accepted */
    /* Pages of the PDF on a read stream, read from its start whatever was
     * read before (the caller still closes the stream); 0 when unreadable. */
    int16_t (*pageCount)(XTStreamRef stream);
} XTPDFGroup;

/* The layers module's group. */
typedef struct XTLayerGroup {
    uint32_t size;
    int32_t (*currentLayerFlags)(void); /* flag 1: the current layer is locked */
} XTLayerGroup;

#ifdef __cplusplus
}
#endif

#endif /* XT_GROUPS_H */
