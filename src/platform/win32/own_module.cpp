#include "platform/win32/own_module.h"

namespace lumbrel::platform::win32 {

HMODULE ownModule() noexcept {
    // The address of this very function lies inside the module that holds
    // it; the host's handle (or NULL, the program's) would name another one.
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&ownModule), &module))
        return nullptr;
    return module;
}

}  // namespace lumbrel::platform::win32
