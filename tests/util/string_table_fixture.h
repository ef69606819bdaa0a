// Tests that read the module's string table: the entries are written as
// MyStrings_E.xml into a temporary resource folder and loaded in English; the
// previous resource folder is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "settings/localised_strings.h"
#include "settings/resources.h"
#include "support/test_support.h"

namespace lumbrel::test {

class StringTableTest : public ::testing::Test {
protected:
    // `entries`: the XML elements after the declaration, e.g. "<kSave>Save</kSave>\n".
    explicit StringTableTest(std::string entries) : entries_(std::move(entries)) {}

    void SetUp() override {
        savedFolder_ = getResourceFolder();
        writeFile(dir_.file("MyStrings_E.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + entries_);
        setResourceFolder(dir_.text().c_str());
        setLanguage(kLangEnglish);
        ASSERT_EQ(setupMyStrings(), 0);
    }
    void TearDown() override {
        cleanupMyStrings();
        setResourceFolder(savedFolder_.c_str());
    }

    TempDir dir_;

private:
    std::string entries_;
    std::string savedFolder_;
};

}  // namespace lumbrel::test
