#include "hostsim/host/win32/shell_stand_in.h"

#include "desktop/files/win32/windows_api.h"
#include "src/platform/processes.h"

#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

namespace hostsim {

namespace {

// ShellExecuteW's success is any value above 32; SE_ERR_FNF (2) says "not found".
HINSTANCE shellAnswer(bool done) {
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(done ? 42 : 2));
}

std::wstring_view unquoted(std::wstring_view text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') return text.substr(1, text.size() - 2);
    return text;
}

bool equalsIgnoringCase(std::wstring_view a, const wchar_t* b) {
    return a.size() == std::wcslen(b) && _wcsnicmp(a.data(), b, a.size()) == 0;
}

// The three requests a module makes of the shell: Explorer revealing a file
// ("/n,/select,path"), an application given the document as its argument,
// and a document's default action (no parameters).
HINSTANCE WINAPI shellExecute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR, INT) {
    if (file == nullptr) return shellAnswer(false);
    const std::wstring_view target(file);
    const std::wstring_view arguments = parameters != nullptr ? std::wstring_view(parameters) : std::wstring_view();
    if (verb != nullptr && !equalsIgnoringCase(verb, L"open")) return shellAnswer(false);
    constexpr std::wstring_view kSelect = L"/n,/select,";
    if ((equalsIgnoringCase(target, L"explorer.exe") || equalsIgnoringCase(target, L"explorer")) &&
        arguments.substr(0, kSelect.size()) == kSelect) {
        const std::string path = desktop::files::utf8Text(unquoted(arguments.substr(kSelect.size())));
        return shellAnswer(lumbrel::platform::revealInFileManager(path.c_str()) == 0);
    }
    if (arguments.empty()) {
        const std::string document = desktop::files::utf8Text(target);
        return shellAnswer(lumbrel::platform::openDocument(document.c_str(), nullptr) == 0);
    }
    const std::string application = desktop::files::utf8Text(target);
    const std::string document = desktop::files::utf8Text(unquoted(arguments));
    return shellAnswer(lumbrel::platform::openDocument(document.c_str(), application.c_str()) == 0);
}

template <typename T>
T* at(BYTE* base, DWORD offset) {
    return reinterpret_cast<T*>(base + offset);
}

}  // namespace

bool standInForShell(void* module) noexcept {
    auto* base = static_cast<BYTE*>(module);
    if (base == nullptr) return false;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto* nt = at<const IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    bool replaced = false;
    for (auto* library = at<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); library->Name != 0; ++library) {
        if (_stricmp(at<const char>(base, library->Name), "shell32.dll") != 0) continue;
        const DWORD names = library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk;
        auto* name = at<IMAGE_THUNK_DATA>(base, names);
        auto* address = at<IMAGE_THUNK_DATA>(base, library->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++address) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName = at<const IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(name->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "ShellExecuteW") != 0) continue;
            DWORD previous = 0;
            if (!VirtualProtect(&address->u1.Function, sizeof address->u1.Function, PAGE_READWRITE, &previous)) {
                return false;
            }
            address->u1.Function = reinterpret_cast<ULONG_PTR>(&shellExecute);
            VirtualProtect(&address->u1.Function, sizeof address->u1.Function, previous, &previous);
            replaced = true;
        }
    }
    return replaced;
}

}  // namespace hostsim
