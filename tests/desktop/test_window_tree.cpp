#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "platform/window_system.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
using pw::Message;
using pw::WindowRef;

// What procedures saw, in order, as "name:message".
std::vector<std::string>& seen() {
    static std::vector<std::string> log;
    return log;
}

std::string nameOf(WindowRef window) { return pw::windowText(window); }

std::intptr_t recordingProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::Destroy) seen().push_back(nameOf(window) + ":destroy");
    if (message == Message::Create) seen().push_back(nameOf(window) + ":create");
    if (message == Message::SetFocus) seen().push_back(nameOf(window) + ":setfocus");
    if (message == Message::KillFocus) seen().push_back(nameOf(window) + ":killfocus");
    if (message == Message::User) seen().push_back(nameOf(window) + ":user " + std::to_string(wParam));
    return pw::defWindowProc(window, message, wParam, lParam);
}

class WindowTreeTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        seen().clear();
        ASSERT_TRUE(pw::registerWindowClass("Recorder", recordingProc));
    }

    WindowRef make(const char* text, WindowRef parent, int id = 0) {
        return pw::createWindow("Recorder", text, pw::style::kChild | pw::style::kVisible, 0, {0, 0, 10, 10}, parent, id);
    }
};

TEST_F(WindowTreeTest, HandlesOfDestroyedWindowsStayDeadAndAreNeverReused) {
    const WindowRef top = make("top", nullptr);
    const WindowRef child = make("child", top, 7);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(child, nullptr);
    pw::setProperty(child, "HAVVccmd", 42);
    pw::setTextProperty(child, "HAVSpref", "Key");
    pw::destroyWindow(top);
    EXPECT_FALSE(pw::isWindow(top));
    EXPECT_FALSE(pw::isWindow(child));

    // Every query on a dead handle answers "none"; nothing crashes.
    EXPECT_EQ(pw::className(child), "");
    EXPECT_EQ(pw::controlId(child), -1);
    EXPECT_EQ(pw::windowText(child), "");
    EXPECT_EQ(pw::property(child, "HAVVccmd"), 0);
    EXPECT_EQ(pw::textProperty(child, "HAVSpref"), nullptr);
    EXPECT_FALSE(pw::hasProperty(child, "HAVVccmd"));
    EXPECT_EQ(pw::parentWindow(child), nullptr);
    EXPECT_EQ(pw::sendMessage(child, Message::User, 1, 0), 0);
    EXPECT_FALSE(pw::postMessage(child, Message::User));
    EXPECT_FALSE(pw::setTimer(child, 1, 10));
    EXPECT_EQ(pw::createWindow("Recorder", "orphan", 0, 0, {}, child, 1), nullptr);
    pw::setWindowText(child, "x");
    pw::destroyWindow(child);

    // New windows (even after a reset of the desktop) get new handles.
    desk().reset();
    ASSERT_TRUE(pw::registerWindowClass("Recorder", recordingProc));
    std::vector<WindowRef> fresh;
    for (int i = 0; i < 20; ++i) fresh.push_back(make("again", nullptr));
    for (const WindowRef window : fresh) {
        EXPECT_NE(window, top);
        EXPECT_NE(window, child);
    }
    EXPECT_FALSE(pw::isWindow(top));
    EXPECT_FALSE(pw::isWindow(nullptr));
    EXPECT_FALSE(pw::isWindow(reinterpret_cast<WindowRef>(std::uintptr_t{0x1234567})));
}

TEST_F(WindowTreeTest, DestroyReachesChildrenBeforeParentsAndTakesPropertiesTimersAndPostedMessages) {
    const WindowRef top = make("top", nullptr);
    const WindowRef a = make("a", top, 1);
    const WindowRef a1 = make("a1", a, 11);
    const WindowRef b = make("b", top, 2);
    const WindowRef other = make("other", nullptr);
    EXPECT_EQ(seen(), (std::vector<std::string>{"top:create", "a:create", "a1:create", "b:create", "other:create"}));
    seen().clear();

    EXPECT_EQ(pw::firstChild(top), a);
    EXPECT_EQ(pw::nextSibling(a), b);
    EXPECT_EQ(pw::nextSibling(b), nullptr);
    EXPECT_EQ(pw::findChild(top, 11), a1);
    EXPECT_EQ(pw::topLevelWindow(a1), top);

    ASSERT_TRUE(pw::setTimer(a1, 5, 10));
    ASSERT_TRUE(pw::postMessage(b, Message::User, 1));
    ASSERT_TRUE(pw::postMessage(other, Message::User, 2));
    pw::setFocus(a1);
    seen().clear();

    pw::destroyWindow(top);
    EXPECT_EQ(seen(), (std::vector<std::string>{"a1:killfocus", "a1:destroy", "a:destroy", "b:destroy", "top:destroy"}));
    EXPECT_EQ(pw::focusedWindow(), nullptr);
    EXPECT_TRUE(pw::isWindow(other));
    EXPECT_EQ(desk().liveWindowCount(), 1u);

    // Destroying a child unlinks it from its parent.
    const WindowRef top2 = make("top2", nullptr);
    const WindowRef c1 = make("c1", top2);
    const WindowRef c2 = make("c2", top2);
    pw::destroyWindow(c1);
    EXPECT_EQ(pw::firstChild(top2), c2);
    EXPECT_EQ(pw::nextSibling(c2), nullptr);
}

std::intptr_t destroyParentOnDestroy(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    // A procedure that tears down more while it is being destroyed.
    if (message == Message::Destroy) {
        seen().push_back(nameOf(window) + ":destroy");
        pw::destroyWindow(pw::parentWindow(window));
        pw::destroyWindow(reinterpret_cast<WindowRef>(pw::property(window, "victim")));
    }
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowTreeTest, ProceduresMayDestroyWindowsWhileBeingDestroyed) {
    ASSERT_TRUE(pw::registerWindowClass("Wrecker", destroyParentOnDestroy));
    const WindowRef top = make("top", nullptr);
    const WindowRef victim = make("victim", nullptr);
    const WindowRef wrecker = pw::createWindow("Wrecker", "wrecker", pw::style::kChild, 0, {}, top, 3);
    pw::setProperty(wrecker, "victim", reinterpret_cast<std::intptr_t>(victim));
    seen().clear();
    pw::destroyWindow(top);
    EXPECT_FALSE(pw::isWindow(top));
    EXPECT_FALSE(pw::isWindow(wrecker));
    EXPECT_FALSE(pw::isWindow(victim));
    EXPECT_EQ(seen(), (std::vector<std::string>{"wrecker:destroy", "victim:destroy", "top:destroy"}));
    EXPECT_EQ(desk().liveWindowCount(), 0u);
}

TEST_F(WindowTreeTest, ClassesMustBeKnownAndParentsAlive) {
    EXPECT_EQ(pw::createWindow("NoSuchClass", "", 0, 0, {}, nullptr, 0), nullptr);
    EXPECT_FALSE(pw::registerWindowClass("", recordingProc));
    EXPECT_FALSE(pw::registerWindowClass("Button", recordingProc));  // standard classes are taken
    EXPECT_TRUE(pw::registerWindowClass("Recorder", recordingProc));  // the same again is fine
    EXPECT_FALSE(pw::registerWindowClass("Recorder", destroyParentOnDestroy));
    const WindowRef button = pw::createWindow(pw::kButtonClass, "OK", 0, 0, {1, 2, 3, 4}, nullptr, 1);
    EXPECT_EQ(pw::className(button), "Button");
    EXPECT_EQ(pw::windowRect(button).top, 2);
    EXPECT_FALSE(pw::isWindowShown(button));  // hidden unless kVisible
}

}  // namespace
}  // namespace lumbrel::test

namespace lumbrel::test {
namespace {

std::intptr_t tickingProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::Timer) {
        seen().push_back("tick " + std::to_string(wParam) + " at " + std::to_string(desktop::Desktop::instance().clockMilliseconds()));
        if (wParam == 2) pw::killTimer(window, 2);  // a one-shot
    }
    if (message == Message::User) {
        seen().push_back("user " + std::to_string(wParam));
        if (wParam == 1) pw::postMessage(window, Message::User, 3);  // posted while delivering: comes last
    }
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowTreeTest, OutsideModalLoopsTheHostDeliversPostedMessagesAndLetsTimeRun) {
    ASSERT_TRUE(pw::registerWindowClass("Ticker", tickingProc));
    const WindowRef ticker = pw::createWindow("Ticker", "t", 0, 0, {}, nullptr, 0);
    pw::postMessage(ticker, Message::User, 1);
    pw::postMessage(ticker, Message::User, 2);
    EXPECT_EQ(desk().deliverPostedMessages(), 3u);
    EXPECT_EQ(desk().deliverPostedMessages(), 0u);

    ASSERT_TRUE(pw::setTimer(ticker, 1, 100));
    ASSERT_TRUE(pw::setTimer(ticker, 2, 150));
    EXPECT_EQ(desk().advanceClock(350), 4u);
    EXPECT_EQ(desk().clockMilliseconds(), 350u);
    ASSERT_TRUE(pw::setTimer(ticker, 1, 100));  // restarts from now
    EXPECT_EQ(desk().advanceClock(99), 0u);
    EXPECT_EQ(desk().advanceClock(1), 1u);
    pw::killTimer(ticker, 1);
    EXPECT_EQ(desk().advanceClock(1000), 0u);
    EXPECT_EQ(seen(), (std::vector<std::string>{"user 1", "user 2", "user 3", "tick 1 at 100", "tick 2 at 150",
                                                "tick 1 at 200", "tick 1 at 300", "tick 1 at 450"}));
}

}  // namespace
}  // namespace lumbrel::test
