// The module's one exported function, the only symbol the host looks up.
// Everything else of the module is hidden (see the plug-in's build).
#include "host/startup.h"
#include "platform/platform_traits.h"
#include "xtapi.h"

extern "C" LUMBREL_EXPORT int32_t XTActivateCallback(XTActivationRec* record) {
    return lumbrel::activateModule(record);
}
