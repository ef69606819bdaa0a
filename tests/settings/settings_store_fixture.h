// The settings store's test fixture: a scratch folder holding the settings
// file (and no default "Prefs" resource unless a test adds one).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "settings/resources.h"
#include "settings/settings_store.h"
#include "support/test_support.h"

namespace lumbrel::test {

using Entries = std::vector<std::pair<std::string, std::string>>;

inline Entries enumerate(const CMySettings& store, const char* section, int stopAfter = 1000) {
    struct State {
        Entries entries;
        int left;
    } state{{}, stopAfter};
    store.enumSection(
        section,
        [](const char* key, const char* value, std::intptr_t user) {
            auto* s = reinterpret_cast<State*>(user);
            s->entries.emplace_back(key, value);
            return --s->left > 0;
        },
        reinterpret_cast<std::intptr_t>(&state));
    return state.entries;
}

inline std::string value(const CMySettings& store, const char* section, const char* key) {
    char out[256] = "untouched";
    const std::int32_t length = store.get(section, key, out, sizeof out);
    return length < 0 ? "<missing>" : std::string(out);
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        setResourceFolder(dir.text().c_str());  // holds no "Prefs" resource unless a test adds one
        setLanguage(kLangEnglish);
    }
    void TearDown() override { setResourceFolder(""); }

    // Loads `content` from a settings file and answers the store.
    CMySettings& load(const std::string& content) {
        writeFile(iniPath, content);
        EXPECT_EQ(store.setupWithPath(iniPath.c_str()), 0);
        return store;
    }

    TempDir dir;
    std::string iniPath = dir.file("Lumbrel.ini");
    CMySettings store;
};

}  // namespace lumbrel::test
