// Where the running code lives, and what it holds, asked of Windows: this
// program stands for the DLL (it holds the same resources and code).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/module_location.h"
#include "platform/module_resources.h"
#include "platform/platform_traits.h"
#include "platform/win32/own_module.h"
#include "support/test_support.h"

namespace lumbrel::platform {
namespace {

std::string moduleFileOf(HMODULE module) {
    wchar_t path[4096];
    const DWORD length = ::GetModuleFileNameW(module, path, 4096);
    const std::u8string utf8 = std::filesystem::path(std::wstring(path, length)).u8string();
    return std::string(utf8.begin(), utf8.end());
}

TEST(ModuleLocation, TheModuleOfAnAddressAndTheProgram) {
    char program[1024];
    ASSERT_TRUE(findApplicationFile(program, sizeof program));
    EXPECT_EQ(std::string(program), moduleFileOf(nullptr));
    EXPECT_NE(std::strchr(program, '\\'), nullptr) << program;
    EXPECT_EQ(std::strchr(program, '/'), nullptr) << program;

    char module[1024];
    ASSERT_TRUE(findModuleFile(reinterpret_cast<const void*>(&findModuleFile), module, sizeof module));
    EXPECT_STREQ(module, program) << "linked into the program, the code's module is the program";
    static const int anObject = 0;
    ASSERT_TRUE(findModuleFile(&anObject, module, sizeof module));
    EXPECT_STREQ(module, program);

    // Code of a system DLL lies in that DLL, not in the program.
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto systemCode = reinterpret_cast<const void*>(::GetProcAddress(kernel, "GetTickCount"));
    ASSERT_NE(systemCode, nullptr);
    ASSERT_TRUE(findModuleFile(systemCode, module, sizeof module));
    EXPECT_EQ(std::string(module), moduleFileOf(kernel));
}

TEST(ModuleLocation, RefusesWhatItCannotAnswerWhole) {
    char program[1024];
    ASSERT_TRUE(findApplicationFile(program, sizeof program));
    const std::size_t length = std::strlen(program);
    char exact[1024];
    ASSERT_TRUE(findApplicationFile(exact, length + 1)) << "the terminator fits";
    char small[1024];
    std::memset(small, 'u', sizeof small);
    EXPECT_FALSE(findApplicationFile(small, length));
    EXPECT_FALSE(findModuleFile(reinterpret_cast<const void*>(&findModuleFile), small, length));
    EXPECT_EQ(small[0], 'u') << "left untouched";
    EXPECT_FALSE(findModuleFile(nullptr, small, sizeof small));
    int onTheStack = 0;
    EXPECT_FALSE(findModuleFile(&onTheStack, small, sizeof small)) << "no module holds the stack";
}

// A module in a folder deeper than MAX_PATH: the name is read whole.
TEST(ModuleLocation, PathsLongerThanMaxPath) {
    test::TempDir dir;
    std::wstring folder = L"\\\\?\\" + dir.path().wstring();
    while (folder.size() < MAX_PATH + 40) {
        folder += L"\\a-folder-name-of-forty-characters-long-x";
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const std::wstring copy = folder + L"\\copy.exe";
    ASSERT_TRUE(::CopyFileW((L"\\\\?\\" + std::filesystem::path(moduleFileOf(nullptr)).wstring()).c_str(),
                            copy.c_str(), FALSE));
    const HMODULE image = ::LoadLibraryW(copy.c_str());
    ASSERT_NE(image, nullptr) << ::GetLastError();
    char path[2048];
    const auto inCopy = reinterpret_cast<const char*>(image) + 0x1000;  // its first section
    ASSERT_TRUE(findModuleFile(inCopy, path, sizeof path));
    EXPECT_GT(std::strlen(path), static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(std::string(path), moduleFileOf(image));
    EXPECT_NE(std::string(path).find("copy.exe"), std::string::npos) << path;
    ::FreeLibrary(image);
}

TEST(ModuleResources, TheOwnModuleIsThisProgramAndHoldsTheResources) {
    EXPECT_EQ(win32::ownModule(), ::GetModuleHandleW(nullptr));
    std::string bytes;
    ASSERT_TRUE(readModuleResource("mystrings_e", "XmL", 16 * 1024 * 1024, bytes));
    EXPECT_EQ(bytes, test::readFile(test::sourcePath("resources/MyStrings_E.xml")));
    ASSERT_TRUE(readModuleResource("28351", "xml", bytes.size() * 4, bytes));
    EXPECT_EQ(bytes, test::readFile(test::sourcePath("resources-windows/28351.xml")));
    // Larger than the caller allows: refused, not cut.
    EXPECT_FALSE(readModuleResource("28351", "xml", bytes.size() - 1, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(readModuleResource("Nothing", "XML", 1000, bytes));
    EXPECT_FALSE(readModuleResource("", "XML", 1000, bytes));
    EXPECT_FALSE(readModuleResource("EDIT_E", nullptr, 1000, bytes));
}

// The version record of the module says what the build says of itself.
TEST(ModuleResources, VersionRecordMatchesTheBuildsVersion) {
    EXPECT_STREQ(Traits::kVersion, LUMBREL_WINDOWS_VERSION);
    wchar_t self[4096];
    ASSERT_GT(::GetModuleFileNameW(win32::ownModule(), self, 4096), 0u);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(self, &ignored);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoW(self, 0, size, block.data()));
    auto text = [&](const wchar_t* key) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        if (!::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) return std::wstring();
        return std::wstring(value, length > 0 && value[length - 1] == L'\0' ? length - 1 : length);
    };
    EXPECT_EQ(text(L"ProductName"), L"Lumbrel");
    const std::string version(Traits::kVersion);
    EXPECT_EQ(text(L"FileVersion"), std::wstring(version.begin(), version.end()));
    EXPECT_EQ(text(L"ProductVersion"), std::wstring(version.begin(), version.end()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const unsigned major = static_cast<unsigned>(std::stoul(version));
    const unsigned minor = static_cast<unsigned>(std::stoul(version.substr(version.find('.') + 1)));
    EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
    EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
}

}  // namespace
}  // namespace lumbrel::platform
