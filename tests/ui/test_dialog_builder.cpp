#include <gtest/gtest.h>

#include <string>

#include "platform/window_system.h"
#include "settings/resources.h"
#include "ui/control_kind.h"
#include "ui/description_builder.h"
#include "ui/key_handler.h"
#include "ui/own_window_classes.h"
#include "ui/property_names.h"
#include "ui/test_dialog_builder_support.h"
#include "ui/ui_types.h"

namespace lumbrel {
namespace {

namespace style = platform::style;
using platform::WindowRef;
using test::control;
using test::description;

class DialogBuilder : public test::DescriptionTest {};

void expectRect(WindowRef window, int left, int top, int width, int height) {
    const platform::WindowRect r = platform::windowRect(window);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.width, width);
    EXPECT_EQ(r.height, height);
}

TEST_F(DialogBuilder, ShellIsPlacedSizedAndTitledAndHoldsOneRootPane) {
    ASSERT_TRUE(build(description(control("####"), "120 80 300 200", "Bilder tauschen")));
    const platform::WindowRect outer = platform::windowRect(shell_);
    EXPECT_EQ(outer.left, 120);
    EXPECT_EQ(outer.top, 80);
    const platform::WindowRect client = platform::clientRect(shell_);
    EXPECT_EQ(client.width, 300);
    EXPECT_EQ(client.height, 200);
    EXPECT_EQ(platform::windowText(shell_), "Bilder tauschen");

    ASSERT_EQ(childCount(shell_), 1);
    const WindowRef pane = root();
    EXPECT_EQ(platform::className(pane), kUserPaneClass);
    EXPECT_EQ(controlKind(pane), kKindUserPane);
    expectRect(pane, 0, 0, outer.width, outer.height);
    EXPECT_EQ(childCount(pane), 0);
}

TEST_F(DialogBuilder, MissingDescriptionDeadShellAndOversizedTextAreRefused) {
    EXPECT_FALSE(buildDialog(shell_, "Nowhere"));
    EXPECT_FALSE(buildDialog(shell_, nullptr));
    EXPECT_EQ(childCount(shell_), 0);

    addDescription("Small", description(control("####")));
    WindowRef dead = platform::createModelessDialog(test::recordingDialogProc, 0);
    platform::destroyWindow(dead);
    EXPECT_FALSE(buildDialog(dead, "Small"));

    std::string huge = description(control("push", "<text>" + std::string(kMaxDescriptionBytes, 'x') + "</text>"));
    EXPECT_FALSE(build(huge));
    EXPECT_EQ(childCount(shell_), 0);
}

TEST_F(DialogBuilder, DescriptionFollowsTheLanguageAndFallsBackToEnglish) {
    addDescription("Lang", description(control("stxt", "<text>english</text>") + control("####")), "_E");
    addDescription("Lang", description(control("stxt", "<text>deutsch</text>") + control("####")), "_D");
    addDescription("OnlyE", description(control("stxt", "<text>only english</text>") + control("####")), "_E");

    setLanguage(kLangGerman);
    ASSERT_TRUE(buildDialog(shell_, "Lang"));
    EXPECT_EQ(platform::windowText(child(root(), 0)), "deutsch");
    platform::destroyWindow(root());

    ASSERT_TRUE(buildDialog(shell_, "OnlyE"));
    EXPECT_EQ(platform::windowText(child(root(), 0)), "only english");
    platform::destroyWindow(root());

    setLanguage(kLangEnglish);
    ASSERT_TRUE(buildDialog(shell_, "Lang"));
    EXPECT_EQ(platform::windowText(child(root(), 0)), "english");
}

TEST_F(DialogBuilder, PushButtonIsDefaultOnlyWithIdOneAndIdDefaultsToMinusOne) {
    ASSERT_TRUE(build(description(control("push", "<id>1</id><cmd>ok  </cmd><text>OK</text><rect>10 20 80 20</rect>") +
                                  control("push", "<id>2</id><text>Cancel</text><rect>100 20 80 20</rect>") +
                                  control("push", "<text>Other</text>") + control("####"))));
    const WindowRef ok = child(root(), 0);
    const WindowRef cancel = child(root(), 1);
    const WindowRef other = child(root(), 2);
    ASSERT_NE(other, nullptr);

    EXPECT_EQ(platform::className(ok), platform::kButtonClass);
    EXPECT_EQ(platform::windowStyle(ok) & style::kButtonTypeMask, style::kDefPushButton);
    EXPECT_EQ(platform::windowStyle(cancel) & style::kButtonTypeMask, style::kPushButton);
    for (WindowRef button : {ok, cancel, other}) {
        const std::uint32_t s = platform::windowStyle(button);
        EXPECT_EQ(s & (style::kChild | style::kVisible | style::kGroup | style::kTabStop),
                  style::kChild | style::kVisible | style::kGroup | style::kTabStop);
        EXPECT_EQ(controlKind(button), kKindPush) << platform::windowText(button);
    }
    EXPECT_EQ(platform::controlId(ok), 1);
    EXPECT_EQ(platform::controlId(cancel), 2);
    EXPECT_EQ(platform::controlId(other), -1);
    EXPECT_EQ(platform::windowText(ok), "OK");
    // Buttons are raised by 3 and made 24 high.
    expectRect(ok, 10, 17, 80, 24);
}

TEST_F(DialogBuilder, CheckBoxRadioButtonAndGroupBoxStyles) {
    ASSERT_TRUE(
        build(description(control("cbox", "<rect>10 40 100 16</rect>") + control("rdio", "<rect>10 60 100 16</rect>") +
                          control("grpb", "<rect>5 80 200 60</rect>") + control("####") + control("####"))));
    const WindowRef check = child(root(), 0);
    const WindowRef radio = child(root(), 1);
    const WindowRef group = child(root(), 2);
    EXPECT_EQ(platform::windowStyle(check) & style::kButtonTypeMask, style::kAutoCheckBox);
    EXPECT_EQ(platform::windowStyle(radio) & style::kButtonTypeMask, style::kAutoRadioButton);
    EXPECT_EQ(platform::windowStyle(group) & style::kButtonTypeMask, style::kGroupBox);
    EXPECT_EQ(platform::windowStyle(group) & style::kTabStop, 0U);
    expectRect(check, 10, 37, 100, 24);
    expectRect(radio, 10, 57, 100, 24);
    expectRect(group, 5, 80, 200, 60);
    for (WindowRef w : {check, radio, group}) EXPECT_EQ(controlKind(w), kKindCheck);
}

TEST_F(DialogBuilder, EditFieldGeometryAndStylesAndEutxBuildsTheSame) {
    ASSERT_TRUE(build(description(control("etxt", "<id>3</id><rect>10 30 150 13</rect><text>abc</text>") +
                                  control("eutx", "<id>3</id><rect>10 30 150 13</rect><text>abc</text>") +
                                  control("etxt", "<rect>10 60 150 80</rect><multi>1</multi>") +
                                  control("etxt", "<rect>10 160 150 13</rect><pass>1</pass><just>right</just>") +
                                  control("eutx", "<rect>10 180 150 13</rect><just>center</just>") + control("####"))));
    const WindowRef plain = child(root(), 0);
    const WindowRef unicode = child(root(), 1);
    const WindowRef multi = child(root(), 2);
    const WindowRef password = child(root(), 3);
    const WindowRef centred = child(root(), 4);

    expectRect(plain, 10, 27, 150, 19);
    EXPECT_EQ(platform::className(plain), platform::kEditClass);
    EXPECT_EQ(platform::windowExStyle(plain), style::kExClientEdge);
    EXPECT_EQ(platform::windowStyle(plain),
              style::kChild | style::kVisible | style::kTabStop | style::kEditAutoHScroll);
    EXPECT_EQ(platform::windowText(plain), "abc");
    EXPECT_EQ(controlKind(plain), kKindEditWindow);

    EXPECT_EQ(platform::className(unicode), platform::className(plain));
    EXPECT_EQ(platform::windowStyle(unicode), platform::windowStyle(plain));
    EXPECT_EQ(platform::windowExStyle(unicode), platform::windowExStyle(plain));
    expectRect(unicode, 10, 27, 150, 19);
    EXPECT_EQ(platform::windowText(unicode), "abc");
    EXPECT_EQ(platform::windowProc(unicode), platform::windowProc(plain));

    expectRect(multi, 10, 57, 150, 80);
    EXPECT_EQ(platform::windowStyle(multi) & (style::kEditMultiLine | style::kEditWantReturn),
              style::kEditMultiLine | style::kEditWantReturn);
    EXPECT_EQ(platform::windowStyle(plain) & style::kEditMultiLine, 0U);

    EXPECT_NE(platform::windowStyle(password) & style::kEditPassword, 0U);
    EXPECT_EQ(platform::windowStyle(password) & (style::kEditRight | style::kEditCenter), style::kEditRight);
    EXPECT_EQ(platform::windowStyle(centred) & (style::kEditRight | style::kEditCenter), style::kEditCenter);
}

TEST_F(DialogBuilder, GeometryAndStylesOfTheOtherTypes) {
    ASSERT_TRUE(build(
        description(control("stxt", "<rect>10 10 100 30</rect><text>left</text>") +
                    control("stxt", "<rect>10 10 100 30</rect><just>center</just>") +
                    control("stxt", "<rect>10 10 100 30</rect><just>right</just>") +
                    control("stxt", "<rect>10 10 100 30</rect><just>Centre</just>") +
                    control("lbox", "<rect>10 50 200 100</rect>") + control("popb", "<rect>10 160 120 20</rect>") +
                    control("comb", "<rect>10 190 120 20</rect>") + control("prgb", "<rect>10 220 200 12</rect>") +
                    control("sepa", "<rect>10 240 200 1</rect><text>ignored</text>") + control("####"))));
    const WindowRef left = child(root(), 0);
    expectRect(left, 10, 10, 100, 16);
    EXPECT_EQ(platform::windowStyle(left), style::kChild | style::kVisible | style::kStaticLeftNoWordWrap);
    EXPECT_EQ(platform::windowStyle(child(root(), 1)) & 0xF, style::kStaticCenter);
    EXPECT_EQ(platform::windowStyle(child(root(), 2)) & 0xF, style::kStaticRight);
    EXPECT_EQ(platform::windowStyle(child(root(), 3)) & 0xF, style::kStaticLeftNoWordWrap);
    EXPECT_EQ(controlKind(left), kKindStatic);

    const WindowRef list = child(root(), 4);
    expectRect(list, 10, 50, 200, 100);
    EXPECT_EQ(platform::windowStyle(list), style::kChild | style::kVisible | style::kVScroll | style::kTabStop |
                                               style::kListNotify | style::kListOwnerDrawFixed |
                                               style::kListHasStrings | style::kListNoIntegralHeight);
    EXPECT_EQ(platform::windowExStyle(list), style::kExClientEdge);
    EXPECT_EQ(controlKind(list), kKindListBox);

    const WindowRef popup = child(root(), 5);
    expectRect(popup, 13, 158, 115, 200);
    EXPECT_EQ(platform::windowStyle(popup) & style::kComboTypeMask, style::kComboDropDownList);
    EXPECT_EQ(controlKind(popup), kKindPopup);
    const WindowRef combo = child(root(), 6);
    expectRect(combo, 13, 190, 115, 100);
    EXPECT_EQ(platform::windowStyle(combo) & style::kComboTypeMask, style::kComboDropDown);
    EXPECT_EQ(controlKind(combo), kKindCombo);

    const WindowRef progress = child(root(), 7);
    expectRect(progress, 10, 220, 200, 12);
    EXPECT_NE(platform::windowStyle(progress) & style::kProgressSmooth, 0U);
    EXPECT_EQ(controlKind(progress), kKindProgress);

    const WindowRef separator = child(root(), 8);
    expectRect(separator, 10, 237, 200, 1);
    EXPECT_EQ(platform::windowText(separator), "");
    EXPECT_EQ(controlKind(separator), kKindSeparator);
}

TEST_F(DialogBuilder, ContainersTakeTheFollowingControlsUpToTheirEnd) {
    ASSERT_TRUE(
        build(description(control("grpb", "<id>10</id><rect>20 30 200 100</rect><text>Group</text>") +
                          control("cbox", "<id>11</id><rect>5 15 100 16</rect>") +
                          control("stxt", "<id>12</id><rect>5 40 100 16</rect>") + control("####") +
                          control("push", "<id>13</id><rect>20 150 80 20</rect>") +
                          control("tabs", "<id>20</id><rect>0 0 300 200</rect><text1>A</text1>") +
                          control("upan", "<id>21</id><rect>10 30 280 160</rect>") +
                          control("etxt", "<id>22</id><rect>1 2 50 13</rect>") + control("####") + control("####") +
                          control("rgrp", "<id>30</id><rect>0 210 100 40</rect>") +
                          control("rdio", "<id>31</id><rect>0 0 100 16</rect>") + control("####") + control("####"))));
    const WindowRef group = platform::findChild(shell_, 10);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(platform::parentWindow(group), root());
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 11)), group);
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 12)), group);
    expectRect(platform::findChild(shell_, 11), 5, 12, 100, 24);  // inside the group's client area
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 13)), root());

    const WindowRef tabs = platform::findChild(shell_, 20);
    const WindowRef pane = platform::findChild(shell_, 21);
    EXPECT_EQ(platform::parentWindow(pane), tabs);
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 22)), pane);
    expectRect(platform::findChild(shell_, 22), 1, -1, 50, 19);

    const WindowRef radios = platform::findChild(shell_, 30);
    EXPECT_EQ(platform::parentWindow(radios), root());
    EXPECT_EQ(platform::className(radios), kRadioGroupClass);
    EXPECT_EQ(controlKind(radios), kKindRadioGroupWindow);
    expectRect(radios, 0, 207, 100, 40);
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 31)), radios);
    EXPECT_EQ(childCount(shell_), 1);
}

TEST_F(DialogBuilder, SurplusEndsPutLaterControlsOnTheShellAndMissingEndsKeepThemInside) {
    ASSERT_TRUE(build(description(control("stxt", "<id>1</id>") + control("####") + control("stxt", "<id>2</id>") +
                                  control("####") + control("####") + control("stxt", "<id>3</id>"))));
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 1)), root());
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 2)), shell_);
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 3)), shell_);
    EXPECT_EQ(childCount(shell_), 3);  // the root pane and the two late controls
    platform::destroyWindow(root());
    platform::destroyWindow(platform::findChild(shell_, 2));
    platform::destroyWindow(platform::findChild(shell_, 3));

    // Two containers opened, one closed: the rest stays in the outer one.
    ASSERT_TRUE(build(description(control("grpb", "<id>1</id>") + control("grpb", "<id>2</id>") +
                                  control("stxt", "<id>3</id>") + control("####") + control("stxt", "<id>4</id>"))));
    const WindowRef outer = platform::findChild(shell_, 1);
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 2)), outer);
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 3)), platform::findChild(shell_, 2));
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 4)), outer);
}

TEST_F(DialogBuilder, ContainersNestedTooDeepAreSkippedWithTheirContent) {
    std::string controls;
    for (int depth = 1; depth <= kMaxContainerDepth + 5; ++depth)
        controls += control("upan", "<id>" + std::to_string(depth) + "</id>");
    controls += control("stxt", "<id>1000</id>");
    for (int depth = 1; depth <= kMaxContainerDepth + 5; ++depth) controls += control("####");
    controls += control("stxt", "<id>1001</id>");
    ASSERT_TRUE(build(description(controls)));
    // The root pane is the first level.
    EXPECT_NE(platform::findChild(shell_, kMaxContainerDepth - 1), nullptr);
    EXPECT_EQ(platform::findChild(shell_, kMaxContainerDepth), nullptr);
    EXPECT_EQ(platform::findChild(shell_, 1000), nullptr);
    // The ends of the skipped containers are counted off: the control after
    // all of them is back in the root pane.
    const WindowRef after = platform::findChild(shell_, 1001);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(platform::parentWindow(after), root());
}

TEST_F(DialogBuilder, CommandsAndKeptTextsAreStoredAsProperties) {
    ASSERT_TRUE(build(description(
        control("push", "<id>1</id><cmd>ok  </cmd><pref>Key</pref><dval>7</dval><empt>1</empt>") +
        control("push", "<id>2</id><cmd>not!</cmd><amnt></amnt><date>2024</date><data>d</data>") +
        control("etxt", "<id>3</id><sap >sap value</sap>") + control("etxt", "<id>4</id><sap >closed in full</sap >") +
        control("stxt", "<id>5</id><cmd>ab</cmd>") + control("stxt", "<id>6</id>") + control("####"))));
    const WindowRef ok = platform::findChild(shell_, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(platform::property(ok, kPropCommand)), kCmdOK);
    EXPECT_EQ(static_cast<std::uint32_t>(platform::property(platform::findChild(shell_, 2), kPropCommand)), kCmdCancel);
    EXPECT_EQ(static_cast<std::uint32_t>(platform::property(platform::findChild(shell_, 5), kPropCommand)),
              (std::uint32_t{'a'} << 24) | (std::uint32_t{'b'} << 16));
    EXPECT_EQ(platform::property(platform::findChild(shell_, 6), kPropCommand), 0);

    ASSERT_NE(platform::textProperty(ok, "HAVSpref"), nullptr);
    EXPECT_EQ(*platform::textProperty(ok, "HAVSpref"), "Key");
    EXPECT_EQ(*platform::textProperty(ok, "HAVSdval"), "7");
    EXPECT_EQ(*platform::textProperty(ok, "HAVSempt"), "1");
    EXPECT_EQ(platform::textProperty(ok, "HAVSdate"), nullptr);

    const WindowRef cancel = platform::findChild(shell_, 2);
    EXPECT_EQ(platform::textProperty(cancel, "HAVSamnt"), nullptr);  // empty: not kept
    EXPECT_EQ(*platform::textProperty(cancel, "HAVSdate"), "2024");
    EXPECT_EQ(*platform::textProperty(cancel, "HAVSdata"), "d");

    ASSERT_NE(platform::textProperty(platform::findChild(shell_, 3), "HAVSsap "), nullptr);
    EXPECT_EQ(*platform::textProperty(platform::findChild(shell_, 3), "HAVSsap "), "sap value");
    ASSERT_NE(platform::textProperty(platform::findChild(shell_, 4), "HAVSsap "), nullptr);
    EXPECT_EQ(*platform::textProperty(platform::findChild(shell_, 4), "HAVSsap "), "closed in full");
}

TEST_F(DialogBuilder, EveryControlGetsTheNormalFont) {
    ASSERT_TRUE(build(description(control("push") + control("stxt") + control("grpb") + control("sepa") +
                                  control("####") + control("####"))));
    ASSERT_NE(dialogFont(), nullptr);
    ASSERT_NE(dialogBoldFont(), nullptr);
    EXPECT_NE(dialogFont(), dialogBoldFont());
    // Setting up again keeps the classes and the fonts.
    const platform::FontRef normal = dialogFont();
    EXPECT_TRUE(setupDialogs());
    EXPECT_EQ(dialogFont(), normal);
    int controls = 0;
    walkDialog(
        root(),
        [](WindowRef w, std::uint32_t, std::intptr_t count) {
            EXPECT_EQ(platform::windowFont(w), dialogFont());
            ++*reinterpret_cast<int*>(count);
            return true;
        },
        reinterpret_cast<std::intptr_t>(&controls));
    EXPECT_EQ(controls, 5);
}

TEST_F(DialogBuilder, PopUpMenusSkipEmptyItemsAndSelectTheItemEqualToTheText) {
    ASSERT_TRUE(build(description(
        control("popb", "<id>1</id><text>Two</text><menu>One</menu><menu></menu><menu>Two</menu><menu>Three</menu>") +
        control("popb", "<id>2</id><text>None of them</text><menu>One</menu><menu>Two</menu>") +
        control("popb", "<id>3</id><text>Twice</text><MENU>x</MENU><Menu>Twice</Menu><menu>Twice</menu>") +
        control("comb", "<id>4</id><menu>not for combo boxes</menu>") + control("####"))));
    const WindowRef first = platform::findChild(shell_, 1);
    ASSERT_EQ(platform::itemCount(first), 3);
    EXPECT_EQ(platform::itemText(first, 0), "One");
    EXPECT_EQ(platform::itemText(first, 1), "Two");
    EXPECT_EQ(platform::itemText(first, 2), "Three");
    EXPECT_EQ(platform::controlValue(first), 1);
    EXPECT_EQ(platform::controlValue(platform::findChild(shell_, 2)), -1);
    const WindowRef third = platform::findChild(shell_, 3);
    EXPECT_EQ(platform::itemCount(third), 3);
    EXPECT_EQ(platform::controlValue(third), 1);
    EXPECT_EQ(platform::itemCount(platform::findChild(shell_, 4)), 0);
}

TEST_F(DialogBuilder, TabLabelsAreReadUntilTheFirstMissingOrEmptyOne) {
    ASSERT_TRUE(build(description(
        control("tabs", "<id>1</id><text1>General</text1><text2>Paths</text2><text4>Gap</text4>") + control("####") +
        control("tabs", "<id>2</id><TEXT1>One</TEXT1><text2></text2><text3>Three</text3>") + control("####") +
        control("tabs", "<id>3</id><text>not a label</text>") + control("####") + control("####"))));
    const WindowRef first = platform::findChild(shell_, 1);
    ASSERT_EQ(platform::itemCount(first), 2);
    EXPECT_EQ(platform::itemText(first, 0), "General");
    EXPECT_EQ(platform::itemText(first, 1), "Paths");
    EXPECT_EQ(platform::itemCount(platform::findChild(shell_, 2)), 1);
    EXPECT_EQ(platform::itemCount(platform::findChild(shell_, 3)), 0);
    EXPECT_EQ(controlKind(first), kKindTabs);
    EXPECT_EQ(platform::windowExStyle(first), style::kExClientEdge | style::kExControlParent);
    EXPECT_NE(platform::windowStyle(first) & style::kTabButtons, 0U);
    // The pane holding the whole description is a control parent too.
    EXPECT_NE(platform::windowExStyle(platform::parentWindow(first)) & style::kExControlParent, 0U);
}

// Whatever holds controls is a control parent, so that the dialog manager's
// Tab walk enters it; the controls themselves are none.
TEST_F(DialogBuilder, ContainersAndOnlyContainersAreControlParents) {
    struct Case {
        const char* type;
        bool container;
    };
    const Case cases[] = {{"grpb", true}, {"tabs", true}, {"rgrp", true}, {"upan", true},
                          {"push", false}, {"cbox", false}, {"etxt", false}, {"lbox", false},
                          {"popb", false}, {"stxt", false}, {"sepa", false}, {"prgb", false}};
    std::string controls;
    int id = 10;
    for (const Case& c : cases) {
        controls += control(c.type, "<id>" + std::to_string(id++) + "</id><rect>0 0 50 20</rect>");
        if (c.container) controls += control("####");
    }
    ASSERT_TRUE(build(description(controls + control("####"))));
    const WindowRef root = platform::firstChild(shell_);
    EXPECT_NE(platform::windowExStyle(root) & style::kExControlParent, 0U);
    id = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const WindowRef made = platform::findChild(shell_, id++);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(platform::parentWindow(made), root);
        EXPECT_EQ((platform::windowExStyle(made) & style::kExControlParent) != 0, c.container);
    }
}

TEST_F(DialogBuilder, KeyHandlerGoesOnTheKeyboardControlsOnly) {
    const char* withHandler[] = {"push", "cbox", "rdio", "grpb", "etxt", "eutx", "lbox", "tabs"};
    const char* without[] = {"stxt", "popb", "comb", "prgb", "sepa", "rgrp", "upan"};
    std::string controls;
    int id = 1;
    for (const char* type : withHandler) {
        controls += control(type, "<id>" + std::to_string(id++) + "</id>");
        if (std::string(type) == "grpb" || std::string(type) == "tabs") controls += control("####");
    }
    for (const char* type : without) {
        controls += control(type, "<id>" + std::to_string(id++) + "</id>");
        if (std::string(type) == "rgrp" || std::string(type) == "upan") controls += control("####");
    }
    ASSERT_TRUE(build(description(controls + control("####"))));
    id = 1;
    for (const char* type : withHandler) {
        const WindowRef w = platform::findChild(shell_, id++);
        ASSERT_NE(w, nullptr) << type;
        EXPECT_EQ(platform::windowProc(w), keyHandlerProc) << type;
        EXPECT_NE(platform::property(w, kPropKeptProc), 0) << type;
        EXPECT_NE(platform::property(w, kPropKeptProc), reinterpret_cast<std::intptr_t>(keyHandlerProc)) << type;
    }
    for (const char* type : without) {
        const WindowRef w = platform::findChild(shell_, id++);
        ASSERT_NE(w, nullptr) << type;
        EXPECT_NE(platform::windowProc(w), keyHandlerProc) << type;
        EXPECT_FALSE(platform::hasProperty(w, kPropKeptProc)) << type;
    }
}

TEST_F(DialogBuilder, UnknownTypesAreSkippedAndElementNamesIgnoreCase) {
    ASSERT_TRUE(
        build("<WINDOW><Name>Cased</Name><RECT>1 2 100 50</RECT>"
              "<Control><TYPE>push</TYPE><Id>1</Id><Rect>5 10 60 20</Rect><TEXT>Go</TEXT></Control>"
              "<control><type>xxxx</type><id>2</id></control>"
              "<control><type>PUSH</type><id>3</id></control>"
              "<control><type>pushbutton</type><id>4</id></control>"
              "<control><id>5</id></control>"
              "<control><type>stxt</type><id>6</id></control>"
              "<control><type>####</type></control></WINDOW>"));
    EXPECT_EQ(platform::windowText(shell_), "Cased");
    EXPECT_EQ(platform::clientRect(shell_).width, 100);
    ASSERT_EQ(childCount(root()), 2);
    const WindowRef go = platform::findChild(shell_, 1);
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(platform::windowText(go), "Go");
    expectRect(go, 5, 7, 60, 24);
    EXPECT_EQ(child(root(), 1), platform::findChild(shell_, 6));
}

TEST_F(DialogBuilder, MissingRectsLeaveZerosAndTheWindowNeverTakesAControlsRect) {
    ASSERT_TRUE(build("<window><name>No rect</name>" + control("stxt", "<id>1</id><rect>10 20 30 40</rect>") +
                      control("push", "<id>2</id>") + control("etxt", "<id>3</id><rect>7 8</rect>") + control("####") +
                      "</window>"));
    EXPECT_EQ(platform::clientRect(shell_).width, 0);
    EXPECT_EQ(platform::clientRect(shell_).height, 0);
    expectRect(platform::findChild(shell_, 1), 10, 20, 30, 16);
    expectRect(platform::findChild(shell_, 2), 0, -3, 0, 24);
    expectRect(platform::findChild(shell_, 3), 7, 5, 0, 19);
}

TEST_F(DialogBuilder, AbsurdNumbersAreHeldToASaneRange) {
    ASSERT_TRUE(build(description(
        control("push", "<id>1</id><rect>-99999999999 2147483647 -5 99999999999999</rect>") + control("####"),
        "2147483647 -2147483648 2147483647 2147483647")));
    const platform::WindowRect r = platform::windowRect(platform::findChild(shell_, 1));
    EXPECT_EQ(r.left, -(1 << 24));
    EXPECT_EQ(r.top, (1 << 24) - 3);
    EXPECT_EQ(r.height, 24);
}

}  // namespace
}  // namespace lumbrel
