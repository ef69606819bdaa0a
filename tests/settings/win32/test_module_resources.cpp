// The Windows build reads its resources from the module file: this program
// holds the same resource script as the DLL, so every shipped file must come
// back byte for byte through the module, by the names the module asks for.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/resources_fixture.h"

namespace lumbrel {
namespace {

using test::readFile;
using test::Resources;
using test::sourcePath;

class ModuleResources : public Resources {
protected:
    void SetUp() override {
        Resources::SetUp();
        setResourceFolder("");  // no folder: the module's own resources
    }
};

TEST_F(ModuleResources, EveryShippedFileComesBackWhole) {
    struct Case {
        const char* name;
        const char* type;
        std::int16_t language;
        const char* file;  // in resources/, or with its folder
    };
    const Case cases[] = {
        {"MyStrings", "xml", kLangEnglish, "MyStrings_E.xml"},
        {"MyStrings", "xml", kLangGerman, "MyStrings_D.xml"},
        {"EDIT", "XML", kLangGerman, "EDIT_D.xml"},
        {"edit", "Xml", kLangEnglish, "EDIT_E.xml"},
        {"IMGLIST", "XML", kLangGerman, "IMGLIST_D.xml"},
        {"PdfImport", "xml", kLangEnglish, "PDFIMPORT_E.xml"},
        {"RELINK", "XML", kLangGerman, "RELINK_D.xml"},
        {"SWAP", "XML", kLangEnglish, "SWAP_E.xml"},
        {"Progress", "XML", kLangGerman, "Progress_D.xml"},
        {"PROGRESS", "xml", kLangEnglish, "Progress_E.xml"},
        {"Rename", "XML", kLangGerman, "Rename_D.xml"},
        {"f1", "ps", kLangEnglish, "f1.ps"},
        {"F1", "PS", kLangGerman, "f1.ps"},
        // The Windows pane replaces the shared one.
        {"28051", "XML", kLangEnglish, "../resources-windows/28051.xml"},
        {"28351", "xml", kLangGerman, "../resources-windows/28351.xml"},
        {"SWAP", "XML", kLangFrench, "SWAP_E.xml"},  // no French: English
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "." + c.type + " language " + std::to_string(c.language));
        const std::string expected = readFile(sourcePath("resources/" + std::string(c.file)));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(load(c.name, c.type, c.language), expected);
    }
}

TEST_F(ModuleResources, WhatTheModuleDoesNotHoldIsMissing) {
    const char* const missing[][2] = {
        {"EDIT", "ini"},       // a name of another type
        {"Prefs", "ini"},      // no default settings are shipped
        {"28052", "XML"},      // no such number
        {"#28051", "XML"},     // the number form is the loader's, not the caller's
        {"EDIT_E.xml", "XML"}, // a file name is no resource name
        {"EDIT_Q", "XML"},
        {"f1.LICENSE", "PS"},
    };
    for (const auto& [name, type] : missing) {
        SCOPED_TRACE(std::string(name) + "." + type);
        EXPECT_EQ(load(name, type, kLangEnglish), "<null>");
    }
}

TEST_F(ModuleResources, AFolderSetExplicitlyStillWins) {
    put("EDIT_E.xml", "from the folder");
    setResourceFolder(dir_.text().c_str());
    EXPECT_EQ(load("EDIT", "XML", kLangEnglish), "from the folder");
    EXPECT_EQ(load("SWAP", "XML", kLangEnglish), "<null>") << "a set folder is the only place searched";
}

}  // namespace
}  // namespace lumbrel
