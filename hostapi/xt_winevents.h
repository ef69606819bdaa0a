/* The Windows form of the host interface: the numbers a module states to a
 * Windows host, the versioned interface tables it acquires at start-up, and
 * the window message the host hands to the event callback (10) instead of
 * the classic event record. */
#ifndef XT_WINEVENTS_H
#define XT_WINEVENTS_H

#include "xt_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- numbers stated to a Windows host ----------------------------------------------------- */
/* Compatibility question: (XT_MODULE_CODE, 0, XT_COMPAT_API_WIN, XT_COMPAT_HOSTVERSION_WIN, 0). */
#define XT_COMPAT_API_WIN 11
#define XT_COMPAT_HOSTVERSION_WIN 0x40A20014u
/* The set-up record (XTCallbackRec.initSetup). */
#define XT_API_VERSION_WIN 11
#define XT_API_BUILD_WIN 258
#define XT_API_HOSTVERSION_WIN 0x40A20000u
/* First number of every registration (the second stays XT_REGISTRATION_VALUE,
 * or XT_EVENT_REGISTRATION for the event callback). */
/* XT_REGISTER_WIN (5) is declared beside XT_REGISTER_MAC in xt_callbacks.h. */

/* ---- interface tables --------------------------------------------------------------------- */
/* A Windows host hands out its services as tables named by a four-character
 * code and a version (XTCallbackRec.acquireInterface). Each version of a name
 * is a table of its own, fixed once published; a newer version adds a table,
 * it never changes an older one. Every table opens with this header, filled
 * by the host: the module checks that the table is the one it asked for. */
typedef struct XTInterfaceHeader {
    uint32_t size;    /* bytes of the whole table, header included */
    OSType id;        /* the name asked for */
    int32_t version;  /* the version asked for */
} XTInterfaceHeader;

#define XT_IFACE_UNICODE XT_FOURCC('Q', 'L', 'I', 'U')  /* Unicode text: versions 0 to 3 */
#define XT_IFACE_DRAWING XT_FOURCC('Q', 'L', 'I', 'D')  /* drawing and images: versions 0 to 11 */
#define XT_IFACE_STRINGS XT_FOURCC('Q', 'L', 'I', 'S')  /* strings: versions 0 to 2 */
#define XT_IFACE_OPENTYPE XT_FOURCC('Q', 'L', 'O', 'T') /* OpenType: version 0 */
#define XT_IFACE_UNICODE_VERSIONS 4
#define XT_IFACE_DRAWING_VERSIONS 12
#define XT_IFACE_STRINGS_VERSIONS 3
#define XT_IFACE_OPENTYPE_VERSIONS 1

/* 'QLIS' version 1: host strings (UTF-16). The same services a Mac host
 * gives as the group 'QSB\1' (XTStringGroup), behind the interface header;
 * versions 0 and 2 are the string-array and mutable-string tables. */
#define XT_IFACE_STRINGS_PLAIN 1
struct QXStringRef__;
typedef struct XTStringInterface {
    XTInterfaceHeader header;
    struct QXStringRef__* (*create)(const uint16_t* units, int32_t length);
    int32_t (*length)(struct QXStringRef__* string);
    int32_t (*copyUnits)(struct QXStringRef__* string, uint16_t* out, int32_t capacity); /* units copied */
    void (*dispose)(struct QXStringRef__* string);
} XTStringInterface;

/* ---- the event callback (10) on Windows ------------------------------------------------------ */
/* Messages the host hands over (the Windows message numbers). */
#define XT_WM_NULL 0          /* idle time; also what a swallowed message becomes */
#define XT_WM_KEYDOWN 256
#define XT_WM_TIMER 275       /* the host's timer tick: idle time as well */
#define XT_WM_LBUTTONDOWN 513

/* Modifier values: the keys held at the message, as the MK_ values of the
 * mouse messages count them. The mouse-button values are not modifiers of a
 * shortcut; the module ignores them. */
#define XT_WMOD_LBUTTON 0x0001
#define XT_WMOD_RBUTTON 0x0002
#define XT_WMOD_SHIFT 0x0004
#define XT_WMOD_CONTROL 0x0008
#define XT_WMOD_MBUTTON 0x0010
#define XT_WMOD_XBUTTONS 0x0060
#define XT_WMOD_ALT 0x0100    /* Alt has no MK_ value: the host's own bit */
#define XT_WMOD_BUTTONS (XT_WMOD_LBUTTON | XT_WMOD_RBUTTON | XT_WMOD_MBUTTON | XT_WMOD_XBUTTONS)

/* What callback 10 gets from a Windows host: one window message as the host's
 * message loop took it, and the state around it. The host fills every field;
 * the module may change `message` only. Writing XT_WM_NULL into `message`
 * swallows it: the host then neither handles it nor passes it on. */
typedef struct XTWinEventRec {
    int32_t size;        /* bytes of the record */
    XTWindow hwnd;       /* the window the message is for (0: the host's own thread message) */
    uint32_t message;    /* XT_WM_... */
    uintptr_t wParam;    /* key-down: the virtual-key code (a letter key is its capital, 'R' = 82) */
    intptr_t lParam;     /* as the message has it (repeat count and scan code; client point) */
    uint32_t time;       /* milliseconds, the clock of GetTickCount: a double-click is two of these apart */
    int32_t x, y;        /* global screen point of the mouse at the message, pixels */
    uint32_t modifiers;  /* XT_WMOD_... held at the message */
} XTWinEventRec;

#ifdef __cplusplus
}
#endif

#endif /* XT_WINEVENTS_H */
