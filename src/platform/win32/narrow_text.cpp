// UTF-8 to the ANSI code page, through UTF-16.
#include "platform/narrow_text.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

bool isTrailSurrogate(wchar_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::size_t toNarrowText(const char* text, std::size_t maxCharacters, char* out, std::size_t outSize) noexcept {
    if (out == nullptr || outSize == 0) return 0;
    out[0] = '\0';
    // Room for the terminator alone (a size of 0 would ask the conversion for the length instead).
    if (outSize == 1) return 0;
    try {
        std::wstring wide;
        if (text == nullptr || !win32::toWide(text, wide)) return 0;
        std::size_t units = wide.size() < maxCharacters ? wide.size() : maxCharacters;
        // A character past the limit or the buffer goes whole: its trail unit takes its lead with it.
        while (units > 0) {
            if (units < wide.size() && isTrailSurrogate(wide[units])) {
                --units;
                continue;
            }
            const int written = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(units), out,
                                                      static_cast<int>(outSize - 1), nullptr, nullptr);
            if (written > 0) {
                out[written] = '\0';
                return static_cast<std::size_t>(written);
            }
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            --units;
        }
    } catch (...) {
    }
    out[0] = '\0';
    return 0;
}

}  // namespace lumbrel::platform
