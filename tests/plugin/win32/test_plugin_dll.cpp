// The built plug-in as a host sees it: loaded by LoadLibraryW, its entry
// found by name, every resource found by FindResourceW on the DLL's own
// handle with the bytes of the file in resources/ it was made from.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

class PluginDll : public ::testing::Test {
protected:
    static void SetUpTestSuite() { dll_ = ::LoadLibraryW(fs::path(LUMBREL_PLUGIN_DLL).wstring().c_str()); }
    static void TearDownTestSuite() {
        if (dll_ != nullptr) ::FreeLibrary(dll_);
    }
    void SetUp() override { ASSERT_NE(dll_, nullptr) << "LoadLibraryW " << LUMBREL_PLUGIN_DLL; }

    // The bytes of a resource of `module`; "<none>" when it has none.
    static std::string resource(HMODULE module, const std::wstring& name, const std::wstring& type) {
        const HRSRC found = ::FindResourceW(module, name.c_str(), type.c_str());
        if (found == nullptr) return "<none>";
        const DWORD size = ::SizeofResource(module, found);
        const void* bytes = ::LockResource(::LoadResource(module, found));
        return bytes == nullptr ? "<unloadable>" : std::string(static_cast<const char*>(bytes), size);
    }

    static HMODULE dll_;
};

HMODULE PluginDll::dll_ = nullptr;

struct Shipped {
    std::wstring name;  // "EDIT_E", or "#28051" for a resource number
    std::wstring type;
    std::string bytes;
};

// What the resource script is made from: every file of resources/ but the
// licence texts, a file of resources-windows/ in place of its namesake.
std::vector<Shipped> shippedResources() {
    std::vector<Shipped> all;
    const fs::path windowsForms = lumbrel::test::sourcePath("resources-windows");
    for (const auto& entry : fs::directory_iterator(lumbrel::test::sourcePath("resources"))) {
        fs::path file = entry.path();
        if (!entry.is_regular_file() || file.extension() == ".LICENSE") continue;
        if (fs::exists(windowsForms / file.filename())) file = windowsForms / file.filename();
        std::wstring name = file.stem().wstring();
        if (std::all_of(name.begin(), name.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            name.insert(name.begin(), L'#');
        all.push_back({name, file.extension().wstring().substr(1), lumbrel::test::readFile(file.string())});
    }
    return all;
}

std::wstring withCase(std::wstring text, bool upper) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(upper ? std::towupper(c) : std::towlower(c));
    return text;
}

TEST_F(PluginDll, TheEntryIsFoundByName) {
    EXPECT_NE(::GetProcAddress(dll_, "XTActivateCallback"), nullptr);
    EXPECT_EQ(::GetProcAddress(dll_, "activateModule"), nullptr);
}

TEST_F(PluginDll, EveryResourceIsTheDllsOwnInAnyCase) {
    const std::vector<Shipped> shipped = shippedResources();
    ASSERT_GE(shipped.size(), 19u);  // string tables, descriptions, panes, label font
    const HMODULE program = ::GetModuleHandleW(nullptr);
    for (const Shipped& r : shipped) {
        const std::string what(r.name.begin(), r.name.end());
        SCOPED_TRACE(what);
        EXPECT_EQ(resource(dll_, r.name, r.type), r.bytes);
        EXPECT_EQ(resource(dll_, withCase(r.name, false), withCase(r.type, true)), r.bytes);
        EXPECT_EQ(resource(dll_, withCase(r.name, true), withCase(r.type, false)), r.bytes);
        EXPECT_EQ(resource(program, r.name, r.type), "<none>") << "the loading program holds none of them";
    }
}

#if LUMBREL_DIALOG_TEMPLATES
TEST_F(PluginDll, DialogTemplatesAreThere) {
    for (const wchar_t* name : {L"MyDialog", L"MSGBOX", L"mydialog"}) {
        EXPECT_NE(::FindResourceW(dll_, name, MAKEINTRESOURCEW(5)), nullptr) << "RT_DIALOG";
    }
}
#endif

}  // namespace
