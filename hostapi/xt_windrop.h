/* Dragging files onto layout views, Windows form: three callbacks with one
 * drag record, the host's file records, and the group a module uses
 * to test and place dropped files. The host calls 531 when a drag enters a
 * document window, 532 while it moves over it and 534 when it is dropped;
 * each gets an XTWinDragRec and leaves its answer in `accept`. */
#ifndef XT_WINDROP_H
#define XT_WINDROP_H

#include "xt_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define XT_CB_WINDRAG_ENTERED 531 /* XTWinDragRec: a drag entered a document window */
#define XT_CB_WINDRAG_OVER 532    /* XTWinDragRec: the drag moved over it */
#define XT_CB_WINDRAG_DROP 534    /* XTWinDragRec: the drag was dropped on it */

/* Callbacks 531, 532, 534. The host sets `accept` to 0 before each call;
 * a module that takes the drag sets it to 1. The record and its file list
 * are valid during the call only. */
typedef struct XTWinDragRec {
    int32_t size;         /* sizeof(XTWinDragRec) */
    XTWindow window;      /* the document window under the drag */
    XTPoint where;        /* global mouse position */
    uint32_t keyState;    /* the system's key and button flags during the drag */
    /* The drag's file list as the shell hands it over (the data object's
     * CF_HDROP in global memory: DROPFILES and its paths); 0 when the drag
     * carries no files. */
    intptr_t fileList;
    /* When the drag comes from the scripting partner: its identifier of each
     * file in file order, each NUL-terminated, an empty one ending the list;
     * null otherwise. */
    const char* identifiers;
    int32_t identifiersSize; /* bytes at `identifiers` */
    int32_t accept;       /* set by the module: 1 takes the drag */
} XTWinDragRec;

/* The host's file record: how the host names a file it is to open
 * later. 1552 bytes. */
#define XT_FILESPEC_FOLDER 1 /* `attributes`: the file is a folder */
typedef struct XTFileSpec {
    int32_t size;        /* sizeof(XTFileSpec), 1552 */
    int32_t attributes;  /* XT_FILESPEC_... */
    char path[1288];     /* the whole path, UTF-8, NUL-terminated ("C:\\Jobs\\a.tif") */
    /* Text the maker of the file record keeps with it (a drag source's
     * identifier for the file); the host clears it and never reads it. */
    char label[256];
} XTFileSpec;

/* One dropped file as a module keeps it until it places it: a type and the
 * host's file record. 1556 bytes. */
#define XT_DROPITEM_FILE XT_FOURCC('f', 's', 's', ' ')    /* a dropped file */
#define XT_DROPITEM_PARTNER XT_FOURCC('A', 'M', 'S', 'o') /* a file with the scripting partner's identifier in spec.label */
typedef struct XTDroppedItem {
    OSType type;         /* XT_DROPITEM_... */
    XTFileSpec spec;
} XTDroppedItem;

/* 'WDR\1': dropping on Windows, acquired by identifier. */
#define XT_GROUP_WINDROP XT_FOURCC('W', 'D', 'R', 1)
typedef struct XTWinDropGroup {
    uint32_t size;
    /* The host's file record of an existing file or folder. 0 = made;
     * XT_FNF when there is no such file, XT_PARAMERR when the path does not
     * fit. */
    XTError (*makeFileSpec)(const char* path, XTFileSpec* spec);
    /* The extensions of the host's import filters for a content kind
     * (XT_BOX_PICTURE or XT_BOX_TEXT), without dots and separated by ';'
     * ("tif;jpg"), copied as far as `size` allows, NUL-terminated; answers
     * the whole length, 0 for a kind without filters. */
    int32_t (*importExtensions)(int16_t contentKind, char* buffer, int32_t size);
    /* A module that takes a drag hands its code and the drag's target
     * window over at entry; what the host makes of it is its own. */
    void (*dragAccepted)(OSType moduleCode, XTWindow target);
    /* Tells the host of a slug of a box whose content is about to be
     * replaced; what the host does with it is its own. */
    void (*slugNotice)(XTBoxID box, int16_t kind, OSType key, int32_t value);
} XTWinDropGroup;

#ifdef __cplusplus
}
#endif

#endif /* XT_WINDROP_H */
