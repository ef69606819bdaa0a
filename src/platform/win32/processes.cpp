// Other applications through the shell: ShellExecuteW opens documents (with
// their default application, or with a given one taking the document as its
// argument) and starts Explorer to reveal a file. Processes come to the front
// through their main window. Windows applications carry no signatures: only
// this host is known by one (kCreatorThisHost), and a document "opened by
// creator" opens with the shell's default action.
#include "platform/processes.h"

#include <new>
#include <string>

#include "platform/win32/shell_parameters.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include <shellapi.h>

namespace lumbrel::platform {

namespace {

struct MainWindowSearch {
    DWORD process = 0;
    HWND found = nullptr;
};

// A process's main window: a visible top-level window that no other owns.
BOOL CALLBACK findMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MainWindowSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != nullptr) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND mainWindowOf(DWORD process) noexcept {
    MainWindowSearch search;
    search.process = process;
    ::EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool bringToFront(HWND window) noexcept {
    if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    // Windows may refuse the focus to a process not in front (the taskbar
    // flashes instead): that is no failure of the request.
    ::SetForegroundWindow(window);
    return true;
}

bool existingPath(const char* path, std::wstring& wide) noexcept {
    return path != nullptr && *path != '\0' && win32::toWide(path, wide) &&
           ::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ShellExecuteW answers a value above 32 on success.
bool shellSucceeded(HINSTANCE result) noexcept { return reinterpret_cast<INT_PTR>(result) > 32; }

}  // namespace

int bringApplicationToFront(std::uint32_t creator, ProcessRef* previousFront) noexcept {
    if (creator != kCreatorThisHost) return -1;
    const HWND main = mainWindowOf(::GetCurrentProcessId());
    if (main == nullptr) return -1;
    if (previousFront != nullptr) {
        DWORD process = 0;
        if (const HWND front = ::GetForegroundWindow(); front != nullptr) ::GetWindowThreadProcessId(front, &process);
        *previousFront = static_cast<ProcessRef>(process);
    }
    return bringToFront(main) ? 0 : -1;
}

int bringProcessToFront(ProcessRef process) noexcept {
    if (process == ProcessRef::None) return -1;
    const HWND main = mainWindowOf(static_cast<DWORD>(process));
    return main != nullptr && bringToFront(main) ? 0 : -1;
}

int openDocument(const char* documentPath, const char* applicationPath) noexcept {
    try {
        std::wstring document;
        if (!existingPath(documentPath, document)) return -1;
        if (applicationPath == nullptr) {
            // The default action of the file's type (no verb), shown normally.
            return shellSucceeded(::ShellExecuteW(nullptr, nullptr, document.c_str(), nullptr, nullptr, SW_SHOW)) ? 0
                                                                                                                 : -1;
        }
        std::wstring application;
        std::wstring argument;
        if (!existingPath(applicationPath, application) || !win32::quotedArgument(document, argument)) return -1;
        return shellSucceeded(::ShellExecuteW(nullptr, L"open", application.c_str(), argument.c_str(), nullptr,
                                              SW_SHOWNORMAL))
                   ? 0
                   : -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

// Windows files keep no type or creator: the shell's default action opens it.
int openDocumentWithCreator(const char* documentPath, std::uint32_t, std::uint32_t) noexcept {
    return openDocument(documentPath, nullptr);
}

int revealInFileManager(const char* path) noexcept {
    try {
        std::wstring wide;
        std::wstring arguments;
        if (!existingPath(path, wide) || !win32::revealArguments(wide, arguments)) return -1;
        return shellSucceeded(
                   ::ShellExecuteW(nullptr, L"open", L"explorer.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL))
                   ? 0
                   : -1;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

}  // namespace lumbrel::platform
