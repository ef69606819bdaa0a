#include "settings/settings_store.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/atomic_write.h"
#include "platform/platform_traits.h"
#include "settings/resources.h"
#include "util/files_paths.h"
#include "util/number_text.h"

namespace lumbrel {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

// A section or key name the store can handle: present and short enough for
// the store's fixed search patterns.
bool usableName(const char* name) noexcept {
    return name != nullptr && std::strlen(name) <= CMySettings::kMaxNameLength;
}

// Text that can stand on one line of the file: a line end inside it would
// split the entry and turn the rest into other entries or sections.
bool singleLine(const char* text) noexcept {
    return std::strpbrk(text, "\r\n") == nullptr;
}

}  // namespace

CMySettings::CMySettings() noexcept {
    reset();
}

CMySettings::~CMySettings() {
    cleanup();
}

void CMySettings::reset() noexcept {
    path_[0] = '\0';
    modDate_ = 0;
    // The buffer itself is released by cleanup(); an empty text here keeps
    // the "no text" state without freeing.
    text_.clear();
    hasText_ = false;
    capacity_ = 0;
    unreadableFile_ = false;
    lineEnd_ = "\r";
    lineEndLength_ = 1;
}

void CMySettings::cleanup() noexcept {
    std::string().swap(text_);
    hasText_ = false;
    capacity_ = 0;
}

// ---- loading ------------------------------------------------------------------

std::int16_t CMySettings::setupWithPath(const char* path) {
    cleanup();

    // The settings file always has the extension ".ini". A path that cannot
    // be held whole names no file: the store then runs from its defaults and
    // never writes. An HFS path is held in its POSIX form, so that the file
    // read is the file written.
    path_[0] = '\0';
    unreadableFile_ = false;
    if (path != nullptr && *path != '\0' && std::strlen(path) < sizeof path_) {
        copyBounded(path_, path);
        if (!hfsToUnix(path_, sizeof path_)) path_[0] = '\0';
        if (path_[0] != '\0' && !pathEndsWith(path_, ".ini") && replaceExtension(path_, ".ini") == nullptr) {
            path_[0] = '\0';
        }
        // A build without aliases takes the path as it is.
        if (platform::Traits::kSettingsFollowAliases && path_[0] != '\0') resolveAlias(path_, sizeof path_);
    }

    try {
        std::int32_t size = 0;
        std::int16_t status = kFileNotOpened;
        char* data = path_[0] != '\0' ? getFileData(path_, &size, &status) : nullptr;
        if (data != nullptr) {
            text_.assign(data, static_cast<std::size_t>(size));
            std::free(data);
            capacity_ = size + kGrowth;

            // The file's own line ends, remembered for save(); in memory every LF is a CR.
            lineEnd_ = "\r";
            const std::size_t firstCR = text_.find(CR);
            if (firstCR != npos) {
                if (firstCR + 1 < text_.size() && text_[firstCR + 1] == LF) lineEnd_ = "\r\n";
            } else if (text_.find(LF) != npos) {
                lineEnd_ = "\n";
            }
            lineEndLength_ = static_cast<std::int32_t>(std::strlen(lineEnd_));
            for (char& c : text_) {
                if (c == LF) c = CR;
            }
        } else if (status == kFileNoMemory) {
            return kMemFull;
        } else {
            // Something is there that cannot be read (another user's file, a
            // FIFO, a folder): the defaults serve, but a save must not put
            // them in place of content never seen.
            unreadableFile_ = path_[0] != '\0' && fileExists(path_);
            // No file: the default preferences resource, taken as it stands.
            std::int32_t resourceLength = 0;
            char* resource = getResourceData("Prefs", "ini", getLanguage(), &resourceLength);
            if (resource != nullptr) {
                text_.assign(resource, static_cast<std::size_t>(resourceLength));
                std::free(resource);
                capacity_ = resourceLength + kGrowth;
            } else {
                text_.clear();
                capacity_ = kGrowth;
            }
        }
        text_.reserve(static_cast<std::size_t>(capacity_));
    } catch (const std::bad_alloc&) {
        cleanup();
        return kMemFull;
    }
    hasText_ = true;
    modDate_ = path_[0] != '\0' ? getFileModDate(path_) : 0;
    return kNoErr;
}

bool CMySettings::shallReload() const noexcept {
    return path_[0] != '\0' && getFileModDate(path_) > modDate_;
}

// ---- saving -------------------------------------------------------------------

std::string CMySettings::fileForm() const {
    std::string out;
    out.reserve(text_.size());
    // The file never begins with line ends.
    std::size_t i = 0;
    while (i < text_.size() && (text_[i] == CR || text_[i] == LF)) ++i;

    if (std::strcmp(lineEnd_, "\n") == 0) {
        for (; i < text_.size(); ++i) out.push_back(text_[i] == CR ? LF : text_[i]);
    } else if (std::strcmp(lineEnd_, "\r\n") == 0) {
        // CR CR pairs, scanned from the start, are the CR LF of the file.
        // The whole text is restored before the leading line ends are
        // skipped, so the pairing is the same as if scanned from byte 0.
        std::string restored = text_;
        for (std::size_t j = 0; j + 1 < restored.size(); ++j) {
            if (restored[j] == CR && restored[j + 1] == CR) {
                restored[j + 1] = LF;
                ++j;
            }
        }
        out.assign(restored, i, npos);
    } else {
        out.assign(text_, i, npos);
    }
    return out;
}

std::int16_t CMySettings::save() {
    if (hasText_ && path_[0] != '\0' && !unreadableFile_) {
        try {
            const std::string bytes = fileForm();
            platform::saveFileContent(path_, bytes.data(), bytes.size());
        } catch (const std::bad_alloc&) {
            // Nothing written; the file stays as it was.
        }
    }
    // The store's own save never asks for a reload.
    modDate_ = path_[0] != '\0' ? getFileModDate(path_) : 0;
    return kNoErr;
}

// ---- finding --------------------------------------------------------------------

CMySettings::Section CMySettings::findSection(const char* section) const {
    Section found;
    if (!hasText_ || !usableName(section)) return found;
    const std::string header = std::string("[") + section + "]";
    found.header = text_.find(header);
    if (found.header == npos) return found;
    const std::size_t next = text_.find("\r[", found.header);
    found.end = next == npos ? text_.size() : next + 1;
    return found;
}

std::size_t CMySettings::findEntry(const Section& found, const char* key) const {
    if (found.header == npos || !usableName(key)) return npos;
    const std::string pattern = std::string(1, CR) + key + "=";
    const std::size_t at = text_.find(pattern, found.header);
    if (at == npos || at + pattern.size() > found.end) return npos;  // a later section's entry
    return at;
}

// ---- reading --------------------------------------------------------------------

std::int32_t CMySettings::get(const char* section, const char* key, char* out, std::int32_t max) const {
    if (out == nullptr || max < 1) return -1;
    const std::size_t entry = findEntry(findSection(section), key);
    if (entry == npos) return -1;
    const std::size_t valueStart = entry + 1 + std::strlen(key) + 1;
    std::size_t valueEnd = valueStart;
    while (valueEnd < text_.size() && text_[valueEnd] != CR && text_[valueEnd] != '\0') ++valueEnd;
    return static_cast<std::int32_t>(
        copyBounded(out, static_cast<std::size_t>(max), std::string_view(text_).substr(valueStart, valueEnd - valueStart)));
}

std::int32_t CMySettings::get(const char* section, const char* key, std::int32_t defaultValue) const {
    char value[kShortTextSize] = {};
    if (get(section, key, value, sizeof value) < 1) return defaultValue;
    return parseLong(value);
}

float CMySettings::getfloat(const char* section, const char* key, float defaultValue) const {
    char value[kShortTextSize] = {};
    if (get(section, key, value, sizeof value) < 1) return defaultValue;
    return static_cast<float>(parseDouble(value));
}

// ---- writing --------------------------------------------------------------------

bool CMySettings::ensureRoom(std::size_t bytes) {
    // The store's growth rule: keep 512 bytes free, grow in steps of 8192.
    // A line longer than the headroom grows the buffer as far as it needs.
    const std::size_t size = text_.size();
    if (size + bytes + 1 > static_cast<std::size_t>(INT32_MAX - 2 * kGrowth)) return false;
    if (size + static_cast<std::size_t>(kHeadroom) > static_cast<std::size_t>(capacity_)) capacity_ += kGrowth;
    while (size + bytes + 1 > static_cast<std::size_t>(capacity_)) capacity_ += kGrowth;
    text_.reserve(static_cast<std::size_t>(capacity_));
    return true;
}

std::int16_t CMySettings::set(const char* section, const char* key, const char* value) {
    if (!hasText_) return kMemFull;  // no buffer: as the allocation failure it stands for
    if (value == nullptr) value = "";
    if (!usableName(section) || !usableName(key)) return kBadName;
    if (!singleLine(section) || !singleLine(key) || !singleLine(value)) return kBadName;
    const std::string_view written = lineEndLength_ == 2 ? "\r\r" : "\r";

    try {
        Section found = findSection(section);
        if (found.header != npos) {
            remove(section, key);
            found = findSection(section);

            const std::string line = std::string(key) + "=" + value + std::string(written);
            if (!ensureRoom(line.size() + written.size())) return kMemFull;

            const std::size_t headerCR = text_.find(CR, found.header);
            if (headerCR == npos) {
                // The header is the text's last line and has no line end.
                text_ += written;
                text_ += line;
            } else if (text_.find("\r[", found.header) != npos) {
                // A later section exists: the entry becomes the first of its section.
                std::size_t insertAt = headerCR + 1;
                if (lineEndLength_ == 2 && insertAt < text_.size() && text_[insertAt] == CR) ++insertAt;
                text_.insert(insertAt, line);
            } else {
                // The last section: the entry goes to the end of the text, on a line of its own.
                if (!text_.empty() && text_.back() != CR) text_ += written;
                text_ += line;
            }
        } else {
            const std::string block =
                std::string(written) + "[" + section + "]" + std::string(written) + key + "=" + value + std::string(written);
            if (!ensureRoom(block.size())) return kMemFull;
            text_ += block;
        }
    } catch (const std::bad_alloc&) {
        return kMemFull;
    }
    return kNoErr;
}

std::int16_t CMySettings::set(const char* section, const char* key, std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return set(section, key, text);
}

void CMySettings::remove(const char* section, const char* key) {
    const std::size_t entry = findEntry(findSection(section), key);
    if (entry == npos) return;
    const std::size_t lineStart = entry + 1;
    const std::size_t lineCR = text_.find(CR, lineStart);
    std::size_t lineEnd = text_.size();  // the last line without a line end: only its bytes
    if (lineCR != npos) {
        lineEnd = lineCR + 1;
        if (lineEndLength_ == 2 && lineEnd < text_.size() && text_[lineEnd] == CR) ++lineEnd;
    }
    text_.erase(lineStart, lineEnd - lineStart);
}

void CMySettings::remove(const char* section) {
    const Section found = findSection(section);
    if (found.header == npos) return;
    if (found.end < text_.size()) {
        // Up to the "[" of the next section; the CR before this header stays.
        text_.erase(found.header, found.end - found.header);
        return;
    }
    text_.erase(found.header);
    const std::size_t n = text_.size();
    if (n >= 2 && text_[n - 1] == CR && text_[n - 2] == CR) text_.pop_back();
}

// ---- enumerating --------------------------------------------------------------------

void CMySettings::enumSection(const char* section, EnumCallback callback, std::intptr_t userValue) const {
    if (callback == nullptr) return;
    const Section found = findSection(section);
    if (found.header == npos) return;

    std::size_t at = found.header;
    for (;;) {
        // Step to the next line: past the next CR and every line end after it.
        const std::size_t cr = text_.find(CR, at);
        if (cr == npos) return;
        at = cr;
        while (at < text_.size() && (text_[at] == CR || text_[at] == LF)) ++at;

        const std::size_t lineEnd = text_.find(CR, at);
        if (lineEnd == npos) return;  // a last line without a line end is not handed over
        const std::string_view line = std::string_view(text_).substr(at, lineEnd - at);
        if (!line.empty() && line.front() == '[') return;
        const std::size_t equals = line.find('=');
        if (line.size() > kMaxEnumLine || equals == std::string_view::npos) continue;

        char buffer[kShortTextSize] = {};
        copyBounded(buffer, line);
        buffer[equals] = '\0';
        // The value ends where the text would end for a C string.
        if (!callback(buffer, buffer + equals + 1, userValue)) return;
    }
}

}  // namespace lumbrel
