/* How a host activates a module: the record handed to the module's one
 * exported function, and the callback record handed to its start-up
 * callback, through which the module binds function groups and registers
 * its callbacks. */
#ifndef XT_ACTIVATION_H
#define XT_ACTIVATION_H

#include "xt_callbacks.h"
#include "xt_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Versions the module states when it binds groups (Mac form; the Windows
 * form is in xt_winevents.h). */
#define XT_API_VERSION 5
#define XT_API_BUILD 295
#define XT_API_HOSTVERSION 0x40C70000u
/* Arguments of the compatibility question (Mac form; Windows: xt_winevents.h). */
#define XT_COMPAT_API 5
#define XT_COMPAT_HOSTVERSION 0x40C70014u

/* Handed to XTActivateCallback. */
typedef struct XTActivationRec {
    int32_t size;
    /* Answers whether the host accepts the module: low byte exactly 1 = yes. */
    uint32_t (*compatibility)(OSType moduleCode, int32_t reserved1, int32_t apiVersion, uint32_t hostVersion,
                              int32_t reserved2);
    int16_t xtRefNum; /* the module's reference number with the host */
    /* Takes the module's registration value (XT_REGISTRATION_VALUE). */
    void (*setRegistrationValue)(int32_t value);
    /* Registers the start-up callback; it gets an XTCallbackRec*. 0 = registered. */
    int32_t (*registerStartup)(XTCallbackProc proc, int32_t a, int32_t b, int32_t c);
    /* Registers the callback that allocates the preference pane. 0 = registered. */
    int32_t (*registerPaneAlloc)(XTCallbackProc proc, int32_t a, int32_t b, int32_t c);
} XTActivationRec;

/* The module's one exported function; answers 0, or XT_REFUSE when it will
 * not run in this host. */
typedef int32_t (*XTActivateProc)(XTActivationRec* record);
#define XT_ACTIVATE_SYMBOL "XTActivateCallback"

/* The versions a module binds groups with. */
typedef struct XTSetupRec {
    int32_t apiVersion;
    int32_t build;
    uint32_t hostVersion;
} XTSetupRec;

/* Handed to the start-up callback; valid as long as the module is loaded. */
typedef struct XTCallbackRec {
    int32_t size;
    /* Fills the set-up record with the versions the module states. */
    void (*initSetup)(XTSetupRec* setup, int32_t apiVersion, int32_t build, uint32_t hostVersion);
    /* Fills the group table `table` (whose first field is its size in bytes)
     * with the host's functions of the named group. 0 = bound. */
    int32_t (*bindGroup)(const XTSetupRec* setup, const char* groupName, void* table, size_t tableSize);
    /* Points `table` at the host's group of that identifier. 0 = acquired. */
    int32_t (*acquireGroup)(OSType groupID, const void** table);
    /* The callback code and group id of an optional host module. 0 = found. */
    int32_t (*lookupModule)(OSType moduleCode, int32_t* callbackCode, OSType* groupID);
    /* Registers a callback by code number with three further numbers. 0 = registered. */
    int32_t (*registerCallback)(int32_t code, XTCallbackProc proc, int32_t a, int32_t b, int32_t c);
    /* Windows hosts: points `table` at the host's interface table of that
     * name and version (xt_winevents.h). 0 = acquired. A host without
     * interface tables leaves this null, or hands a record whose `size`
     * ends before it. */
    int32_t (*acquireInterface)(OSType id, int32_t version, const void** table);
} XTCallbackRec;

#ifdef __cplusplus
}
#endif

#endif /* XT_ACTIVATION_H */
