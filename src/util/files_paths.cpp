// The user's special folders by four-character folder type. Where they lie
// is the platform's business (platform/user_folders.h); this side only
// names them and keeps the answer inside the caller's buffer.
#include "util/files_paths.h"

#include <string>

#include "platform/user_folders.h"

namespace lumbrel {

namespace {

bool folderKind(std::uint32_t folderType, platform::SpecialFolder& kind) noexcept {
    switch (folderType) {
        case kFolderDocuments: kind = platform::SpecialFolder::Documents; return true;
        case kFolderDesktop: kind = platform::SpecialFolder::Desktop; return true;
        case kFolderPreferences: kind = platform::SpecialFolder::Preferences; return true;
        case kFolderAppSupport: kind = platform::SpecialFolder::AppSupport; return true;
        case kFolderTemporary: kind = platform::SpecialFolder::Temporary; return true;
        default: return false;
    }
}

}  // namespace

bool getSpecialFolderPath(std::uint32_t folderType, char* out, std::size_t outSize) noexcept {
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    platform::SpecialFolder kind{};
    if (!folderKind(folderType, kind)) return false;
    std::string path;
    // A cut path would name some other folder: refuse instead.
    if (!platform::findSpecialFolder(kind, path) || path.size() >= outSize) return false;
    copyBounded(out, outSize, path);
    return true;
}

bool getDocumentsFolder(char* out, std::size_t outSize) noexcept {
    return getSpecialFolderPath(kFolderDocuments, out, outSize);
}

bool getDesktopFolder(char* out, std::size_t outSize) noexcept {
    return getSpecialFolderPath(kFolderDesktop, out, outSize);
}

bool getPreferencesFolder(char* out, std::size_t outSize) noexcept {
    return getSpecialFolderPath(kFolderPreferences, out, outSize);
}

bool getAppSupportFolder(char* out, std::size_t outSize) noexcept {
    return getSpecialFolderPath(kFolderAppSupport, out, outSize);
}

bool getTempFolder(char* out, std::size_t outSize) noexcept {
    return getSpecialFolderPath(kFolderTemporary, out, outSize);
}

}  // namespace lumbrel
