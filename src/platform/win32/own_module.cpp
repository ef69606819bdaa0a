#include "platform/win32/own_module.h"

namespace lumbrel::platform::win32 {

HMODULE ownModule() noexcept {
    HMODULE module = nullptr;
    // Any function of this module names it; the reference count stays as it is.
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ownModule), &module);
    return module;
}

}  // namespace lumbrel::platform::win32
