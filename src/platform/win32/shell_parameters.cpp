#include "platform/win32/shell_parameters.h"

namespace lumbrel::platform::win32 {

bool quotedArgument(const std::wstring& path, std::wstring& out) {
    if (path.empty()) return false;
    for (const wchar_t c : path) {
        if (c == L'"' || c < 0x20) return false;
    }
    // A trailing backslash would escape the closing quote ("C:\" -> C:").
    std::wstring quoted = L"\"" + path;
    if (quoted.back() == L'\\') quoted += L'\\';
    out = quoted + L"\"";
    return true;
}

bool revealArguments(const std::wstring& path, std::wstring& out) {
    std::wstring quoted;
    if (!quotedArgument(path, quoted)) return false;
    out = L"/n,/select," + quoted;
    return true;
}

}  // namespace lumbrel::platform::win32
