#include "platform/module_resources.h"

#include <cstring>
#include <exception>

#include "platform/win32/own_module.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

// Resource names of digits alone are numbers in the resource script
// ("28051 XML …"); the "#28051" form asks the loader for that number.
bool resourceName(const char* utf8, std::wstring& out) {
    // "#…" is the loader's own spelling of a number; callers give digits.
    if (utf8 == nullptr || *utf8 == '\0' || *utf8 == '#' || !win32::toWide(utf8, out)) return false;
    if (std::strspn(utf8, "0123456789") == std::strlen(utf8)) out.insert(out.begin(), L'#');
    return true;
}

}  // namespace

bool readModuleResource(const char* name, const char* type, std::size_t maxSize, std::string& out) {
    out.clear();
    try {
        std::wstring wideName;
        std::wstring wideType;
        if (!resourceName(name, wideName) || !resourceName(type, wideType)) return false;
        // Never the host's handle: the resources are the module's own.
        const HMODULE module = win32::ownModule();
        if (module == nullptr) return false;
        // String names and types match without regard to case in the loader.
        const HRSRC found = ::FindResourceW(module, wideName.c_str(), wideType.c_str());
        if (found == nullptr) return false;
        const DWORD size = ::SizeofResource(module, found);
        if (size > maxSize) return false;
        const HGLOBAL loaded = ::LoadResource(module, found);
        const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
        if (bytes == nullptr && size != 0) return false;
        if (size != 0) out.assign(static_cast<const char*>(bytes), size);
        return true;
    } catch (const std::exception&) {  // out of memory
        out.clear();
        return false;
    }
}

}  // namespace lumbrel::platform
