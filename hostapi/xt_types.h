/* Basic types and fixed values of the host interface. Plain C, shared by the
 * host (and its simulator) and every module. */
#ifndef XT_TYPES_H
#define XT_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t OSType;     /* four-character code, first character in the high byte */
typedef int32_t Fixed;       /* 16.16 fixed point */
typedef int32_t XTError;     /* 0 = no error */
typedef int32_t XTBoxID;     /* box of the current document; 0 = none, ends every chain */
typedef int16_t XTDocID;     /* below 0 = no document */
typedef intptr_t XTDocRef;   /* host's opaque document reference; -1 = none */
typedef int32_t XTMenuRef;   /* host menu */
typedef int16_t XTCommandID; /* command id of a menu item */
typedef intptr_t XTHandle;   /* host memory handle; 0 = none */
typedef intptr_t XTFontInst; /* font instance; 0 = none */
typedef intptr_t XTPort;     /* drawing port of a draw */
typedef intptr_t XTWindow;   /* host window; 0 = none */
typedef intptr_t XTViewRef;  /* document view */

/* A conversion that reads as a cast in C and as a static_cast in C++. */
#ifdef __cplusplus
#define XT_CAST(type, value) static_cast<type>(value)
#else
#define XT_CAST(type, value) ((type)(value))
#endif

/* Builds a four-character code from its characters. */
#define XT_FOURCC(a, b, c, d)                                                                          \
    XT_CAST(OSType, (XT_CAST(uint32_t, XT_CAST(uint8_t, a)) << 24) | (XT_CAST(uint32_t, XT_CAST(uint8_t, b)) << 16) | \
                        (XT_CAST(uint32_t, XT_CAST(uint8_t, c)) << 8) | XT_CAST(uint32_t, XT_CAST(uint8_t, d)))

typedef struct XTFixedRect { Fixed top, left, bottom, right; } XTFixedRect; /* points, spread coordinates */
typedef struct XTFixedPoint { Fixed v, h; } XTFixedPoint;
typedef struct XTPoint { int16_t v, h; } XTPoint;                       /* screen pixels */
/* Screen pixels, 32-bit as a host with long coordinates has them: the spreads
   of a long document lie further apart than 16 bits reach. */
typedef struct XTRect { int32_t top, left, bottom, right; } XTRect;

/* RGB colour with a fourth component, the strength in percent. */
typedef struct XTColor { uint8_t red, green, blue, strength; } XTColor;

/* ---- results --------------------------------------------------------------- */
#define XT_NOERR 0
#define XT_REFUSE 0x51000401 /* answered by a module that will not run in this host */
#define XT_MEMFULL (-108)
#define XT_FNF (-43)                     /* file not found */
#define XT_PARAMERR (-50)

/* ---- the module's identity -------------------------------------------------- */
#define XT_MODULE_CODE XT_FOURCC('B', 'D', 'I', 'C') /* also the box slug key of image names */
#define XT_REGISTRATION_VALUE 200                     /* second number of every registration */

/* ---- box kinds, shapes, picture colour spaces ------------------------------- */
#define XT_BOX_PICTURE 4 /* picture box, what the module creates */
#define XT_BOX_TEXT 3
#define XT_BOX_LINE 5
#define XT_BOX_GROUP 9
#define XT_SHAPE_RECT 5 /* rectangular shape of new boxes */

#define XT_CS_RGB XT_FOURCC('Q', 'R', 'G', 'B')
#define XT_CS_CMYK XT_FOURCC('Q', 'C', 'M', 'K')
#define XT_CS_GRAY XT_FOURCC('Q', 'G', 'R', 'Y')
#define XT_CS_LAB XT_FOURCC('Q', 'L', 'A', 'B')
#define XT_CS_BITMAP XT_FOURCC('Q', 'B', 'I', 'T')
#define XT_CS_INDEXED XT_FOURCC('Q', 'I', 'D', 'X')

/* ---- slugs ------------------------------------------------------------------- */
#define XT_SLUG_BOX 0     /* owner: box id (0 = current box) */
#define XT_SLUG_PICTURE 1 /* owner: box id, the box's picture */
#define XT_SLUG_IMAGENAME XT_FOURCC('B', 'D', 'I', 'C') /* box slug: image name, read only */
#define XT_SLUG_IDENTIFIER XT_FOURCC('b', 'D', 'I', 'C') /* picture slug: external identifier */

/* ---- document state ----------------------------------------------------------- */
#define XT_DIRTY_CHANGED 3 /* changed since the last save */

/* ---- drawing and output --------------------------------------------------------- */
#define XT_DRAW_PHASE_CONTENT 2 /* the phase in which labels are drawn */
#define XT_OUTPUT_SCREEN 0
#define XT_OUTPUT_POSTSCRIPT 3
#define XT_OUTPUT_DEVICE 4 /* output the host draws itself (PDF, raster) */

/* ---- tools, picture fitting, host commands ---------------------------------- */
#define XT_TOOL_CONTENT 16      /* the content tool: double-clicks on pictures */
#define XT_FIT_PROPORTIONAL 16  /* fit mode used after a drop into a new box */
#define XT_FIT_TO_BOX 0         /* fit mode used when FitToBox is on */
#define XT_CMD_SAVE_CHECK 117   /* host command that runs the output image check */
#define XT_CMD_SAVE_CHECK_WIN1 113
#define XT_CMD_SAVE_CHECK_WIN2 118

/* ---- event records (callback 10) ------------------------------------------------ */
#define XT_EVT_NULL 0
#define XT_EVT_MOUSEDOWN 1
#define XT_EVT_KEYDOWN 3
#define XT_MOD_BUTTON 0x0080   /* mouse button state, masked out by shortcuts */
#define XT_MOD_COMMAND 0x0100
#define XT_MOD_SHIFT 0x0200
#define XT_MOD_OPTION 0x0800
#define XT_MOD_CONTROL 0x1000

/* ---- region codes (callback 5) ---------------------------------------------------- */
#define XT_REGION_GERMANY 3
#define XT_REGION_SWISS_GERMAN 19

/* ---- drag and drop ------------------------------------------------------------------ */
#define XT_DROP_EFFECT_COPY 4 /* drop-effect flag a file drag must carry */
#define XT_VIEW_LAYOUT 1      /* view kind of layout views */

#ifdef __cplusplus
}
#endif

#endif /* XT_TYPES_H */
