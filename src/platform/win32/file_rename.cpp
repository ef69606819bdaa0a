#include "platform/file_rename.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

using win32::toWide;

RenameResult resultOf(DWORD error, const std::wstring& from) noexcept {
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return RenameResult::TargetExists;
    if (::GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) return RenameResult::SourceMissing;
    return RenameResult::Failed;
}

bool widePaths(const char* from, const char* to, std::wstring& wideFrom, std::wstring& wideTo) noexcept {
    return from != nullptr && to != nullptr && *from != '\0' && *to != '\0' && toWide(from, wideFrom) &&
           toWide(to, wideTo);
}

}  // namespace

// A hard link never takes an existing name either.
RenameResult renameNoReplaceByLink(const char* from, const char* to) noexcept {
    std::wstring wideFrom, wideTo;
    if (!widePaths(from, to, wideFrom, wideTo)) return RenameResult::Failed;
    if (!::CreateHardLinkW(wideTo.c_str(), wideFrom.c_str(), nullptr)) return resultOf(::GetLastError(), wideFrom);
    if (!::DeleteFileW(wideFrom.c_str())) {
        ::DeleteFileW(wideTo.c_str());
        return RenameResult::Failed;
    }
    return RenameResult::Renamed;
}

// Without MOVEFILE_REPLACE_EXISTING the move fails on an existing name, in
// the same step that would otherwise make it.
RenameResult renameNoReplace(const char* from, const char* to) noexcept {
    std::wstring wideFrom, wideTo;
    if (!widePaths(from, to, wideFrom, wideTo)) return RenameResult::Failed;
    // Moving a file onto its own name succeeds without a change; the name is
    // taken all the same. (A change of case only is a real rename.)
    if (wideFrom == wideTo) {
        return ::GetFileAttributesW(wideFrom.c_str()) == INVALID_FILE_ATTRIBUTES ? RenameResult::SourceMissing
                                                                                : RenameResult::TargetExists;
    }
    if (::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_WRITE_THROUGH)) return RenameResult::Renamed;
    return resultOf(::GetLastError(), wideFrom);
}

}  // namespace lumbrel::platform
