#include "platform/win32/file_attributes.h"

#include "platform/win32/windows_api.h"

namespace lumbrel::platform::win32 {

namespace {

// 100-nanosecond ticks from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000LL;
constexpr std::int64_t kTicksPerSecond = 10000000LL;

}  // namespace

ItemKind kindOf(unsigned long attributes, unsigned long reparseTag) noexcept {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        (reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT))
        return ItemKind::Link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return ItemKind::Folder;
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return ItemKind::Other;
    return ItemKind::File;
}

bool kindOfPath(const std::wstring& path, ItemKind& kind) noexcept {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    DWORD tag = 0;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && path.find_first_of(L"*?") == std::wstring::npos) {
        WIN32_FIND_DATAW data{};
        const HANDLE found = ::FindFirstFileW(path.c_str(), &data);
        if (found != INVALID_HANDLE_VALUE) {
            tag = data.dwReserved0;
            ::FindClose(found);
        }
    }
    kind = kindOf(attributes, tag);
    return true;
}

std::int64_t unixSeconds(unsigned long low, unsigned long high) noexcept {
    const auto ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
    return (ticks - kUnixEpochTicks) / kTicksPerSecond;
}

}  // namespace lumbrel::platform::win32
