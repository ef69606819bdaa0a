// The narrow texts on Windows are in the system's ANSI code page, made
// through UTF-16: non-ASCII characters become the code page's bytes, and a
// character it lacks its default character.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/narrow_text.h"
#include "settings/localised_strings.h"
#include "settings/resources.h"

namespace lumbrel {
namespace {

// The code page's own conversion of the UTF-16 text, as the "A" functions see it.
std::string ansiOf(const std::wstring& wide) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string narrow(const std::string& utf8, std::size_t maxCharacters = 250, std::size_t outSize = 600) {
    char out[600];
    platform::toNarrowText(utf8.c_str(), maxCharacters, out, outSize);
    return out;
}

TEST(NarrowTextWin32, NonAsciiTextIsInTheAnsiCodePage) {
    struct Case {
        std::string utf8;
        std::wstring wide;
        const char* in1252;  // the bytes in Western European Windows
    };
    const Case cases[] = {
        {"Gr\xC3\xB6\xC3\x9F" "e", L"Gr\u00F6\u00DF" "e", "Gr\xF6\xDF" "e"},
        {"\xC3\x9C" "berschreiben \xE2\x80\xA6 \xE2\x82\xAC", L"\u00DC" "berschreiben \u2026 \u20AC",
         "\xDC" "berschreiben \x85 \x80"},
        {"\xC5\x8B", L"\u014B", "?"},  // not in the code page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        const std::string got = narrow(c.utf8);
        EXPECT_EQ(got, ansiOf(c.wide));
        EXPECT_NE(got, c.utf8);
        if (GetACP() == 1252) {
            EXPECT_EQ(got, c.in1252);
        }
    }
}

TEST(NarrowTextWin32, TheLimitCountsUtf16UnitsAndNeverSplitsAPair) {
    const std::string umlauts = [] {
        std::string text;
        for (int i = 0; i < 300; ++i) text += "\xC3\xA4";
        return text;
    }();
    EXPECT_EQ(narrow(umlauts), ansiOf(std::wstring(250, L'\u00E4')));
    // A character outside the basic plane takes two units: at the limit it goes whole.
    const std::string face = std::string(249, 'a') + "\xF0\x9F\x98\x80";
    EXPECT_EQ(narrow(face), std::string(249, 'a'));
    EXPECT_EQ(narrow(face, 251), ansiOf(std::wstring(249, L'a') + L"\U0001F600"));
    // The buffer cuts between characters too (one byte each in a single-byte code page).
    if (GetACP() == 1252) {
        EXPECT_EQ(narrow(umlauts, 250, 11), ansiOf(std::wstring(10, L'\u00E4')));
    }
}

TEST(NarrowTextWin32, TheGermanTableGivesItsTextInTheCodePage) {
    const std::string savedFolder = getResourceFolder();
    const std::int16_t savedLanguage = getLanguage();
    setResourceFolder("");  // the program's own resources, as the DLL's
    setLanguage(kLangGerman);
    ASSERT_EQ(setupMyStrings(), 0);
    char out[600];
    getNarrowString("kOverwrite", out);
    EXPECT_EQ(std::string(out), ansiOf(L"%s existiert bereits. \u00DC" "berschreiben?"));
    char utf8[600];
    getString("kOverwrite", utf8);
    EXPECT_STRNE(out, utf8);
    cleanupMyStrings();
    setResourceFolder(savedFolder.c_str());
    setLanguage(savedLanguage);
}

}  // namespace
}  // namespace lumbrel
