// The resource loader's test fixture: English, and a scratch resource folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/resources.h"
#include "support/test_support.h"

namespace lumbrel::test {

// The language and the resource folder are module-wide: each test starts
// from English with its own folder and leaves them as it found them.
class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = getResourceFolder();
        savedModulePath_ = getModulePath();
        savedLanguage_ = getLanguage();
        setLanguage(kLangEnglish);
        setResourceFolder(dir_.text().c_str());
    }
    void TearDown() override {
        setResourceFolder(savedFolder_.c_str());
        setModulePath(savedModulePath_.c_str());
        setLanguage(savedLanguage_);
    }

    void put(const char* fileName, const std::string& bytes) { writeFile(dir_.file(fileName), bytes); }

    // The resource's text, "<null>" when none is found.
    static std::string load(const char* name, const char* type, std::int16_t language) {
        std::int32_t length = -1;
        char* data = getResourceData(name, type, language, &length);
        if (data == nullptr) {
            EXPECT_EQ(length, 0);
            return "<null>";
        }
        std::string text(data, static_cast<std::size_t>(length));
        EXPECT_EQ(data[length], '\0');
        EXPECT_EQ(data[length + 1], '\0');
        std::free(data);
        return text;
    }

    TempDir dir_;
    std::string savedFolder_;
    std::string savedModulePath_;
    std::int16_t savedLanguage_ = kLangEnglish;
};

}  // namespace lumbrel::test
