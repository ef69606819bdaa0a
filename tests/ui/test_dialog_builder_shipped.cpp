// Every dialog description the module ships builds, in English and in German,
// into the controls its text lists, all inside the root pane.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/window_system.h"
#include "settings/resources.h"
#include "ui/control_kind.h"
#include "ui/description_builder.h"
#include "ui/test_dialog_builder_support.h"

namespace lumbrel {
namespace {

using platform::WindowRef;

// Names of the shipped descriptions: the resources holding a `window`.
std::set<std::string> shippedDescriptions() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(test::sourcePath("resources"))) {
        if (entry.path().extension() != ".xml") continue;
        if (test::readFile(entry.path().string()).find("<window>") == std::string::npos) continue;
        std::string name = entry.path().stem().string();
        if (name.size() > 2 && (name.ends_with("_E") || name.ends_with("_D"))) name.resize(name.size() - 2);
        names.insert(name);
    }
    return names;
}

// The number of `control` elements whose type builds a window, read from the
// text by a plain scan of "<type>…</type>".
int buildableControls(const std::string& text) {
    static const std::set<std::string> kBuilt{"push", "cbox", "rdio", "grpb", "stxt", "etxt", "eutx", "lbox",
                                              "popb", "comb", "prgb", "tabs", "sepa", "rgrp", "upan"};
    int count = 0;
    for (std::size_t at = text.find("<type>"); at != std::string::npos; at = text.find("<type>", at + 1)) {
        const std::size_t end = text.find("</type>", at);
        if (end != std::string::npos && kBuilt.count(text.substr(at + 6, end - at - 6)) != 0) ++count;
    }
    return count;
}

struct Shape {
    std::vector<std::string> lines;  // class, id, parent id and kind of every window, in walking order
};

bool describe(WindowRef window, std::uint32_t kind, std::intptr_t value) {
    auto* shape = reinterpret_cast<Shape*>(value);
    shape->lines.push_back(platform::className(window) + " " + std::to_string(platform::controlId(window)) + " " +
                           std::to_string(platform::controlId(platform::parentWindow(window))) + " " +
                           std::to_string(kind) + " " + std::to_string(platform::windowStyle(window)));
    return true;
}

class ShippedDescriptions : public test::DescriptionTest {
protected:
    void SetUp() override {
        test::DescriptionTest::SetUp();
        setResourceFolder(test::sourcePath("resources").c_str());
    }
};

TEST_F(ShippedDescriptions, EachBuildsInBothLanguages) {
    const std::set<std::string> names = shippedDescriptions();
    ASSERT_GE(names.size(), 5U);
    for (const char* required : {"EDIT", "IMGLIST", "PDFIMPORT", "RELINK", "SWAP"})
        EXPECT_EQ(names.count(required), 1U) << required;

    for (const std::string& name : names) {
        Shape shapes[2];
        std::string titles[2];
        int index = 0;
        for (std::int16_t language : {kLangEnglish, kLangGerman}) {
            SCOPED_TRACE(name + (language == kLangGerman ? " (German)" : " (English)"));
            setLanguage(language);
            const WindowRef shell = platform::createModelessDialog(test::recordingDialogProc, 0);
            ASSERT_NE(shell, nullptr);
            ASSERT_TRUE(buildDialog(shell, name.c_str()));
            // Everything sits in the root pane, and every control of the text was made.
            ASSERT_EQ(childCount(shell), 1);
            std::int32_t length = 0;
            char* data = getResourceData(name.c_str(), "XML", language, &length);
            ASSERT_NE(data, nullptr);
            const std::string text(data, static_cast<std::size_t>(length));
            std::free(data);
            Shape& shape = shapes[index];
            walkDialog(platform::firstChild(shell), describe, reinterpret_cast<std::intptr_t>(&shape));
            EXPECT_EQ(static_cast<int>(shape.lines.size()) - 1, buildableControls(text));
            EXPECT_GT(platform::clientRect(shell).width, 0);
            EXPECT_GT(platform::clientRect(shell).height, 0);
            titles[index] = platform::windowText(shell);
            EXPECT_FALSE(titles[index].empty());
            platform::destroyWindow(shell);
            ++index;
        }
        // The two languages differ in their texts only.
        EXPECT_EQ(shapes[0].lines, shapes[1].lines) << name;
    }
}

// The swap dialog holds its fields in group boxes: Tab walks into them and
// out again in the order of the description, both ways, in both languages.
TEST_F(ShippedDescriptions, TabReachesTheControlsInsideGroupBoxes) {
    const std::vector<int> kSwapRound{5, 6, 7, 8, 4, 3, 2, 9, 5};
    for (std::int16_t language : {kLangEnglish, kLangGerman}) {
        setLanguage(language);
        const WindowRef shell = platform::createModelessDialog(test::recordingDialogProc, 0);
        ASSERT_NE(shell, nullptr);
        ASSERT_TRUE(buildDialog(shell, "SWAP"));
        platform::setFocus(nullptr);
        std::vector<int> forward;
        for (std::size_t i = 0; i < kSwapRound.size(); ++i) {
            platform::defWindowProc(shell, platform::Message::NextDialogControl, 0, 0);
            forward.push_back(platform::controlId(platform::focusedWindow()));
        }
        EXPECT_EQ(forward, kSwapRound) << language;
        std::vector<int> backward;
        for (std::size_t i = 1; i < kSwapRound.size(); ++i) {
            platform::defWindowProc(shell, platform::Message::NextDialogControl, 1, 0);
            backward.push_back(platform::controlId(platform::focusedWindow()));
        }
        EXPECT_EQ(backward, std::vector<int>(kSwapRound.rbegin() + 1, kSwapRound.rend())) << language;
        platform::destroyWindow(shell);
    }
}

}  // namespace
}  // namespace lumbrel
