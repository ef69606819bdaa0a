#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "support/message_sequence.h"
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

std::intptr_t LUMBREL_CALLBACK recordingProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
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

TEST_F(WindowTreeTest, DestroyReachesParentsBeforeChildrenAndTakesPropertiesTimersAndPostedMessages) {
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
    EXPECT_EQ(seen(), (std::vector<std::string>{"a1:killfocus", "top:destroy", "a:destroy", "a1:destroy", "b:destroy"}));
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

// Whether the window still had children when each destroy message came.
std::intptr_t LUMBREL_CALLBACK childCensusProc(WindowRef window, Message message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
    if (message == Message::Destroy || message == Message::NcDestroy) {
        seen().push_back(nameOf(window) + (message == Message::Destroy ? ":destroy" : ":ncdestroy") +
                         (pw::firstChild(window) != nullptr ? " with children" : ""));
    }
    return pw::defWindowProc(window, message, wParam, lParam);
}

// As user32 does it: Destroy to the window, then to its children depth first;
// NcDestroy to each window after its children, the destroyed window last.
TEST_F(WindowTreeTest, DestroyGoesParentFirstAndNcDestroyComesAfterTheChildren) {
    using M = Message;
    struct Case {
        const char* what;
        const char* destroyed;
        std::vector<Expected> order;
    };
    const std::vector<Case> cases = {
        {"the whole tree", "top",
         {{"top", M::Destroy}, {"a", M::Destroy}, {"a1", M::Destroy}, {"b", M::Destroy},
          {"a1", M::NcDestroy}, {"a", M::NcDestroy}, {"b", M::NcDestroy}, {"top", M::NcDestroy}}},
        {"a middle window", "a", {{"a", M::Destroy}, {"a1", M::Destroy}, {"a1", M::NcDestroy}, {"a", M::NcDestroy}}},
        {"a leaf", "b", {{"b", M::Destroy}, {"b", M::NcDestroy}}},
    };
    for (const Case& c : cases) {
        std::map<std::string, WindowRef> windows;
        windows["top"] = make("top", nullptr);
        windows["a"] = make("a", windows["top"], 1);
        windows["a1"] = make("a1", windows["a"], 11);
        windows["b"] = make("b", windows["top"], 2);
        {
            MessageLog log({M::Destroy, M::NcDestroy});
            for (const auto& [role, window] : windows) log.watch(window, role);
            pw::destroyWindow(windows[c.destroyed]);
            expectSequence(log, c.order, c.what);
        }
        pw::destroyWindow(windows["top"]);
    }

    ASSERT_TRUE(pw::registerWindowClass("Census", childCensusProc));
    const WindowRef top = pw::createWindow("Census", "top", 0, 0, {}, nullptr, 0);
    pw::createWindow("Census", "child", pw::style::kChild, 0, {}, top, 1);
    seen().clear();
    pw::destroyWindow(top);
    EXPECT_EQ(seen(), (std::vector<std::string>{"top:destroy with children", "child:destroy", "child:ncdestroy",
                                                "top:ncdestroy"}));
}

std::intptr_t LUMBREL_CALLBACK destroyParentOnDestroy(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
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
    EXPECT_EQ(seen(), (std::vector<std::string>{"top:destroy", "wrecker:destroy", "victim:destroy"}));
    EXPECT_EQ(desk().liveWindowCount(), 0u);
}

// outerRectForClient follows the styles as AdjustWindowRectEx does, and
// gives back exactly the client area the window then has.
TEST_F(WindowTreeTest, OuterRectForClientFitsTheFrameOfEachStyle) {
    namespace st = pw::style;
    const struct {
        const char* what;
        std::uint32_t style;
        std::uint32_t exStyle;
        int extraWidth;
        int extraHeight;
    } cases[] = {
        {"modal dialog shell", st::kDialogShell, st::kExDialogModalFrame, 6, 28},
        {"modeless tool window", st::kDialogShell, st::kExToolWindow, 6, 22},
        {"child with a client edge", st::kChild, st::kExClientEdge, 4, 4},
        {"plain child", st::kChild, 0, 0, 0},
    };
    const pw::WindowRect client{40, 50, 300, 120};
    const WindowRef top = make("top", nullptr);
    for (const auto& c : cases) {
        const pw::WindowRect outer = pw::outerRectForClient(client, c.style, c.exStyle);
        EXPECT_EQ(outer.width - client.width, c.extraWidth) << c.what;
        EXPECT_EQ(outer.height - client.height, c.extraHeight) << c.what;
        const bool child = (c.style & st::kChild) != 0;
        const WindowRef w = pw::createWindow("Static", "", c.style, c.exStyle, outer, child ? top : nullptr, 1);
        const pw::WindowRect back = pw::clientRect(w);
        EXPECT_EQ(back.width, client.width) << c.what;
        EXPECT_EQ(back.height, client.height) << c.what;
        // The client area starts where the frame ends.
        const pw::WindowPoint origin = pw::clientToScreen(w, {0, 0});
        const pw::WindowPoint corner = child ? pw::clientToScreen(top, {outer.left, outer.top})
                                             : pw::WindowPoint{outer.left, outer.top};
        EXPECT_EQ(origin.x - corner.x, client.left - outer.left) << c.what;
        EXPECT_EQ(origin.y - corner.y, client.top - outer.top) << c.what;
        pw::destroyWindow(w);
    }
    // The defaults are the modal shell's.
    const pw::WindowRect modal = pw::outerRectForClient(client);
    EXPECT_EQ(modal.height - client.height, 28);
}

TEST_F(WindowTreeTest, ClientPointsMapToTheScreenThroughEveryFrameAndEdge) {
    constexpr std::uint32_t kCaption = 0x00C00000;  // WS_CAPTION: title bar and frame, as dialog shells have
    const WindowRef top = pw::createWindow("Recorder", "top", kCaption, 0,
                                           pw::outerRectForClient({100, 80, 300, 200}), nullptr, 0);
    const WindowRef pane = pw::createWindow("Recorder", "pane", pw::style::kChild, 0, {20, 30, 200, 100}, top, 1);
    const WindowRef list = pw::createWindow("Recorder", "list", pw::style::kChild, pw::style::kExClientEdge,
                                            {5, 6, 100, 50}, pane, 2);
    const int edge = (pw::windowRect(list).width - pw::clientRect(list).width) / 2;
    ASSERT_GT(edge, 0);
    const pw::WindowPoint onScreen = pw::clientToScreen(list, {1, 2});
    EXPECT_EQ(onScreen.x, 100 + 20 + 5 + edge + 1);
    EXPECT_EQ(onScreen.y, 80 + 30 + 6 + edge + 2);
    const pw::WindowPoint back = pw::screenToClient(list, onScreen);
    EXPECT_EQ(back.x, 1);
    EXPECT_EQ(back.y, 2);
    const pw::WindowPoint topLeft = pw::clientToScreen(top, {0, 0});
    EXPECT_EQ(topLeft.x, 100);
    EXPECT_EQ(topLeft.y, 80);

    // Packed as the mouse messages carry it, negative screen points survive.
    const pw::WindowPoint negative = pw::pointFromParam(pw::pointParam({-5, -32768}));
    EXPECT_EQ(negative.x, -5);
    EXPECT_EQ(negative.y, -32768);

    pw::destroyWindow(top);
    const pw::WindowPoint untouched = pw::clientToScreen(list, {7, 8});
    EXPECT_EQ(untouched.x, 7);
    EXPECT_EQ(untouched.y, 8);
}

TEST_F(WindowTreeTest, AContextClickNobodyTakesClimbsToTheParentNamingTheClickedWindow) {
    const WindowRef top = pw::createWindow("Recorder", "top", 0, 0, {0, 0, 100, 100}, nullptr, 0);
    const WindowRef middle = make("middle", top, 1);
    const WindowRef leaf = make("leaf", middle, 2);
    static std::vector<std::pair<std::string, std::uintptr_t>> heard;
    heard.clear();
    const pw::WindowProc listener = [](WindowRef w, Message m, std::uintptr_t wp, std::intptr_t lp) -> std::intptr_t {
        if (m == Message::ContextMenu) heard.emplace_back(pw::windowText(w), wp);
        return pw::defWindowProc(w, m, wp, lp);
    };
    for (const WindowRef w : {top, middle, leaf}) pw::setWindowProc(w, listener);
    pw::sendMessage(leaf, Message::ContextMenu, reinterpret_cast<std::uintptr_t>(leaf), pw::pointParam({3, 4}));
    const auto leafParam = reinterpret_cast<std::uintptr_t>(leaf);
    EXPECT_EQ(heard, (std::vector<std::pair<std::string, std::uintptr_t>>{
                         {"leaf", leafParam}, {"middle", leafParam}, {"top", leafParam}}));
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

std::intptr_t LUMBREL_CALLBACK tickingProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
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
