// Where the module lives, its language, and the loader of its
// language-dependent resources (string tables, default preferences, dialog
// descriptions, the label font). A resource "Name" of type "typ" in language
// suffix "_E" is the file "Name_E.typ" of the resource folder (the bundle's
// Resources/), or, in the build that embeds its resources in the module file
// and while no folder is set, the module's resource "Name_E" of type "typ".
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel {

inline constexpr std::int16_t kLangEnglish = 0;
inline constexpr std::int16_t kLangFrench = 1;
inline constexpr std::int16_t kLangGerman = 3;

// From the host's language code: 3 and 19 select German, all others English.
void setupLanguages(std::int16_t hostLanguage) noexcept;
std::int16_t getLanguage() noexcept;
void setLanguage(std::int16_t language) noexcept;

// language * 100 + id: the id of a language-dependent resource.
std::int16_t getLangID(std::int16_t id) noexcept;

// The module's own path (the bundle folder "…/Lumbrel.xnt" in the POSIX
// build, the DLL file itself in the Windows build); the settings file is
// this path with the extension ".ini". Empty until set at start-up.
// Both paths hold at most 511 bytes; a longer one is not kept cut short (it
// would name another place) but leaves the setting empty.
void setModulePath(const char* path) noexcept;
const char* getModulePath() noexcept;

// The folder resources are read from. Empty until set at start-up, and
// left empty where the module holds its resources itself.
void setResourceFolder(const char* folder) noexcept;
const char* getResourceFolder() noexcept;

// A new copy of the resource's bytes followed by two zero bytes (free() it),
// or null. Tries the name alone, then the language's suffix, then "_E".
// Names and types match without regard to case: the exact file name is
// tried first, then the folder is searched (the module's resources match so
// by themselves). A resource larger than 16 MB, or
// a name or type holding a path separator, is not loaded. The resource's
// length goes through `length` when it is not null (0 with a null result).
char* getResourceData(const char* name, const char* type, std::int16_t language,
                      std::int32_t* length = nullptr);

}  // namespace lumbrel
