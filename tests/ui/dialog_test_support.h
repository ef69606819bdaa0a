// Scaffolding of the dialog function, dialog object and control tests: a
// scratch resource folder with a small string table and synthetic dialog
// descriptions, English, and a scripted agent playing the user.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "desktop/agent.h"
#include "desktop/desktop.h"
#include "settings/localised_strings.h"
#include "settings/resources.h"
#include "support/test_support.h"
#include "ui/own_window_classes.h"
#include "ui/test_dialog_builder_support.h"

namespace lumbrel::test {

// Keys of the scratch string table and their texts.
inline constexpr const char* kStringTable =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<cancel>Stop it</cancel>\r\n"
    "<btnKey>Localised Button</btnKey>\r\n"
    "<titleKey>Localised Title</titleKey>\r\n"
    "<itemKey>Localised Item</itemKey>\r\n"
    "<tabKey>Localised Tab</tabKey>\r\n"
    "<progTitle>Working</progTitle>\r\n"
    "<rowKey>Localised Row</rowKey>\r\n"
    "<promptKey>Pick a program</promptKey>\r\n"
    "<emptyKey></emptyKey>\r\n";

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::Desktop::instance().reset();
        agent_ = std::make_shared<desktop::ScriptedAgent>();
        desktop::Desktop::instance().setAgent(agent_);
        savedFolder_ = getResourceFolder();
        savedLanguage_ = getLanguage();
        setResourceFolder(dir_.path().c_str());
        setLanguage(kLangEnglish);
        writeFile(dir_.file("MyStrings_E.xml"), kStringTable);
        ASSERT_EQ(setupMyStrings(), 0);
        ASSERT_TRUE(setupDialogs());
    }
    void TearDown() override {
        desktop::Desktop::instance().setAgent(nullptr);
        desktop::Desktop::instance().reset();
        cleanupMyStrings();
        setResourceFolder(savedFolder_.c_str());
        setLanguage(savedLanguage_);
    }

    void addDescription(std::string_view name, std::string_view controls, std::string_view title = "Test") {
        writeFile(dir_.file(std::string(name) + "_E.xml"), description(controls, "100 50 300 200", title));
    }
    // OK (id 1, "ok  ") and Cancel (id 2, "not!") buttons.
    static std::string okCancel() {
        return control("push", "<id>1</id><cmd>ok  </cmd><text>OK</text><rect>200 160 80 20</rect>") +
               control("push", "<id>2</id><cmd>not!</cmd><text>Cancel</text><rect>110 160 80 20</rect>");
    }
    desktop::ScriptedAgent& agent() { return *agent_; }
    static desktop::Desktop& desk() { return desktop::Desktop::instance(); }

    TempDir dir_;
    std::shared_ptr<desktop::ScriptedAgent> agent_;

private:
    std::string savedFolder_;
    std::int16_t savedLanguage_ = kLangEnglish;
};

}  // namespace lumbrel::test
