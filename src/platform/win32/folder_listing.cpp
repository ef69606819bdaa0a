#include <new>
#include <string>

#include "platform/file_system.h"
#include "platform/win32/file_attributes.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

bool endsInSeparator(const std::wstring& path) noexcept {
    return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

}  // namespace

struct FolderListing::State {
    std::wstring path;  // the folder, as opened
    HANDLE find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW item{};
    bool pending = false;  // `item` holds the first item, not yet handed out
    std::string name;

    // Starts the search of a folder known to be one; a folder without items
    // (a drive's root may have no "." entry) opens empty.
    bool start() {
        const std::wstring pattern = path + (endsInSeparator(path) ? L"*" : L"\\*");
        find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &item, FindExSearchNameMatch, nullptr,
                                  FIND_FIRST_EX_LARGE_FETCH);
        if (find != INVALID_HANDLE_VALUE) {
            pending = true;
            return true;
        }
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }

    ~State() {
        if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
    }
};

FolderListing::FolderListing(const char* path) noexcept {
    try {
        auto state = std::make_unique<State>();
        if (path == nullptr || *path == '\0' || !win32::toWide(path, state->path)) return;
        const DWORD attributes = ::GetFileAttributesW(state->path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
        if (state->start()) state_ = std::move(state);
    } catch (const std::bad_alloc&) {
    }
}

FolderListing::FolderListing(const FolderListing& parent, const char* name) noexcept {
    try {
        std::wstring wideName;
        if (!parent || name == nullptr || *name == '\0' || !win32::toWide(name, wideName)) return;
        auto state = std::make_unique<State>();
        state->path = parent.state_->path;
        if (!endsInSeparator(state->path)) state->path += L'\\';
        state->path += wideName;
        // Never through a link or junction put there since it was listed.
        ItemKind kind = ItemKind::Other;
        if (!win32::kindOfPath(state->path, kind) || kind != ItemKind::Folder) return;
        if (state->start()) state_ = std::move(state);
    } catch (const std::bad_alloc&) {
    }
}

FolderListing::~FolderListing() = default;

bool FolderListing::next(const char*& name, ItemKind& kind) noexcept {
    if (!state_ || state_->find == INVALID_HANDLE_VALUE) return false;
    for (;;) {
        if (!state_->pending && !::FindNextFileW(state_->find, &state_->item)) return false;
        state_->pending = false;
        const wchar_t* found = state_->item.cFileName;
        if ((found[0] == L'.' && found[1] == L'\0') || (found[0] == L'.' && found[1] == L'.' && found[2] == L'\0'))
            continue;
        // A name that is no valid UTF-16 cannot be handed on as text.
        if (!win32::toUtf8(found, state_->name)) continue;
        name = state_->name.c_str();
        kind = win32::kindOf(state_->item.dwFileAttributes, state_->item.dwReserved0);
        return true;
    }
}

}  // namespace lumbrel::platform
