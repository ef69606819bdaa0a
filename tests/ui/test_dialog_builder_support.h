// Scaffolding of the description builder's tests: a scratch resource folder
// for synthetic descriptions, a modeless dialog shell whose procedure records
// what reaches the dialog, and small writers of description text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/desktop.h"
#include "platform/window_system.h"
#include "settings/resources.h"
#include "support/test_support.h"
#include "ui/description_builder.h"
#include "ui/own_window_classes.h"

namespace lumbrel::test {

struct ReceivedMessage {
    platform::Message message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// What the dialog procedure of the current shell received, in order.
inline std::vector<ReceivedMessage>& dialogMessages() {
    static std::vector<ReceivedMessage> messages;
    return messages;
}

inline std::intptr_t LUMBREL_CALLBACK recordingDialogProc(platform::WindowRef window, platform::Message message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
    using platform::Message;
    switch (message) {
        case Message::Command:
        case Message::NextDialogControl:
        case Message::Close:
        case Message::DrawItem:
        case Message::Notify:
        case Message::SetFocus:
        case Message::KillFocus:
            dialogMessages().push_back({message, wParam, lParam});
            return 0;
        default:
            return platform::defWindowProc(window, message, wParam, lParam);
    }
}

// One `control` element; `fields` is the rest of its content.
inline std::string control(std::string_view type, std::string_view fields = "") {
    return "<control><type>" + std::string(type) + "</type>" + std::string(fields) + "</control>\r\n";
}

// A whole description around the given controls (the closing "####" of the
// root pane is the caller's).
inline std::string description(std::string_view controls, std::string_view rect = "100 50 300 200",
                               std::string_view title = "Test") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<window>\r\n<name>" + std::string(title) +
           "</name>\r\n<rect>" + std::string(rect) + "</rect>\r\n" + std::string(controls) + "</window>\r\n";
}

// Resources in a scratch folder, English, and a fresh dialog shell.
class DescriptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = getResourceFolder();
        savedLanguage_ = getLanguage();
        setResourceFolder(dir_.path().c_str());
        setLanguage(kLangEnglish);
        // A fresh desktop: no windows, classes or agents of earlier tests.
        desktop::Desktop::instance().reset();
        ASSERT_TRUE(setupDialogs());
        dialogMessages().clear();
        shell_ = platform::createModelessDialog(recordingDialogProc, 0);
        ASSERT_NE(shell_, nullptr);
    }
    void TearDown() override {
        platform::destroyWindow(shell_);
        setResourceFolder(savedFolder_.c_str());
        setLanguage(savedLanguage_);
    }

    // Writes the description as resource "<name>_E.xml" (or another suffix).
    void addDescription(std::string_view name, std::string_view text, std::string_view suffix = "_E") {
        writeFile(dir_.file(std::string(name) + std::string(suffix) + ".xml"), text);
    }
    // Writes and builds; the result of the build.
    bool build(std::string_view text) {
        addDescription("Test", text);
        return buildDialog(shell_, "Test");
    }
    // The root pane the builder makes first.
    platform::WindowRef root() const { return platform::firstChild(shell_); }
    // The n-th (0-based) child of a window.
    static platform::WindowRef child(platform::WindowRef parent, int n) {
        platform::WindowRef c = platform::firstChild(parent);
        for (int i = 0; i < n && c != nullptr; ++i) c = platform::nextSibling(c);
        return c;
    }
    static int childCount(platform::WindowRef parent) {
        int n = 0;
        for (platform::WindowRef c = platform::firstChild(parent); c != nullptr; c = platform::nextSibling(c)) ++n;
        return n;
    }

    TempDir dir_;
    platform::WindowRef shell_ = nullptr;

private:
    std::string savedFolder_;
    std::int16_t savedLanguage_ = kLangEnglish;
};

}  // namespace lumbrel::test
