// CMySettings keeps one INI-style settings file in memory as text and edits
// that text in place; save() writes it back whole.
//
// The text is never parsed into a table: a section runs from its header
// "[name]" to the next line that begins with "[", an entry is a line
// "key=value". In memory every LF is held as CR, so a file with CR LF line
// ends has CR CR pairs; the file's own line ends are given back at save.
// Names and keys match byte for byte, case-sensitively. Lines that are no
// entries (comments, blank lines) stay in the text untouched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/bounded.h"

namespace lumbrel {

class CMySettings {
public:
    // Result codes.
    static constexpr std::int16_t kNoErr = 0;
    static constexpr std::int16_t kMemFull = -108;
    static constexpr std::int16_t kBadName = -50;  // a name too long, or a line end in a name or value

    // Bytes kept free before each write, and the step the buffer grows by.
    static constexpr std::int32_t kHeadroom = 512;
    static constexpr std::int32_t kGrowth = 8192;
    // Longest section name and key: "[" name "]" and CR key "=" must fit in 256 bytes.
    static constexpr std::size_t kMaxNameLength = 253;
    // Longest line enumSection hands over.
    static constexpr std::size_t kMaxEnumLine = 254;

    using EnumCallback = bool (*)(const char* key, const char* value, std::intptr_t userValue);

    CMySettings() noexcept;
    ~CMySettings();
    CMySettings(const CMySettings&) = delete;
    CMySettings& operator=(const CMySettings&) = delete;

    void reset() noexcept;    // empty path and date, no text, line end CR
    void cleanup() noexcept;  // frees the text

    // Reads the settings file at `path` (its extension becomes ".ini"; an
    // HFS path is kept in its POSIX form); without a readable file the
    // default "Prefs" resource, else an empty text.
    std::int16_t setupWithPath(const char* path);
    bool shallReload() const noexcept;  // the file changed on disk since read or written
    // Always 0. Writes nothing when the file cannot be written or could not
    // be read at set-up (its content would be lost); a failed write leaves
    // the file as it was (platform/atomic_write.h tells how it is written).
    std::int16_t save();

    // The value into `out` (at most max - 1 bytes, cut there) and its length;
    // -1 with `out` untouched when there is no text, section or key.
    std::int32_t get(const char* section, const char* key, char* out, std::int32_t max) const;
    // The value by atol, or `defaultValue` when it is missing or empty.
    std::int32_t get(const char* section, const char* key, std::int32_t defaultValue) const;
    float getfloat(const char* section, const char* key, float defaultValue) const;

    std::int16_t set(const char* section, const char* key, const char* value);
    std::int16_t set(const char* section, const char* key, std::int32_t value);

    void remove(const char* section);
    void remove(const char* section, const char* key);

    // Calls back for each entry of the section in text order until it answers false.
    void enumSection(const char* section, EnumCallback callback, std::intptr_t userValue) const;

    // Inspection.
    const char* path() const noexcept { return path_; }
    std::uint32_t modDate() const noexcept { return modDate_; }
    bool hasText() const noexcept { return hasText_; }
    std::string_view text() const noexcept { return text_; }  // internal (CR) form
    std::int32_t capacity() const noexcept { return capacity_; }
    const char* lineEnd() const noexcept { return lineEnd_; }

private:
    static constexpr std::size_t npos = std::string::npos;

    struct Section {
        std::size_t header = npos;  // position of "["
        std::size_t end = npos;     // position of the "[" that ends it, or the text's length
    };

    Section findSection(const char* section) const;
    // Position of the CR before the key's entry inside the section, or npos.
    std::size_t findEntry(const Section& found, const char* key) const;
    bool ensureRoom(std::size_t bytes);
    std::string fileForm() const;  // the text with the file's own line ends

    char path_[kPathSize];
    std::uint32_t modDate_;
    std::string text_;
    bool hasText_;
    bool unreadableFile_;  // something was at the path that set-up could not read
    std::int32_t capacity_;
    const char* lineEnd_;
    std::int32_t lineEndLength_;
};

}  // namespace lumbrel
