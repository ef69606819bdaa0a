// Activation and start-up: the host's compatibility question, the
// registration of the start-up callback, and start-up itself (groups, bundle,
// preferences, labels, scripting, the log's start line, optional modules and
// every callback the module answers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "host/host_form.h"
#include "xtapi.h"

namespace lumbrel {

// What XTActivateCallback does: 0, or XT_REFUSE when the host's
// compatibility answer's low byte is not exactly 1 (nothing is registered
// then). The question and the registrations carry the numbers of `form`.
std::int32_t activateModule(XTActivationRec* record, const HostForm& form = kHostForm);

// The start-up callback (its record is the host's XTCallbackRec): 0, or
// XT_REFUSE when a required group cannot be had; nothing is registered then.
std::int32_t startupCallback(void* record);

// The pane allocation callback registered at activation.
std::int32_t paneAllocCallback(void* record);

// One row of the callback table start-up registers, in order.
struct CallbackRegistration {
    std::int32_t code;
    XTCallbackProc proc;
    std::int32_t a, b, c;
};
inline constexpr std::size_t kCallbackCount = 13;
std::span<const CallbackRegistration, kCallbackCount> callbackTable() noexcept;

}  // namespace lumbrel
