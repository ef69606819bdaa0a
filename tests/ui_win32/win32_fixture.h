// Scaffolding of the Win32 suite: the shipped resources in English, a message
// pump, and steps run by a thread timer, which fires inside whatever modal
// loop is running (DialogBox's included), to play the user.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "platform/window_system.h"
#include "settings/localised_strings.h"
#include "settings/resources.h"
#include "support/test_support.h"
#include "ui/own_window_classes.h"

namespace lumbrel::test {

// Where Wine does otherwise than Windows, a row keeps the Windows answer and
// names Wine's beside it; a Wine fix then shows as a failure of that row.
inline bool runningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Steps run one per tick of a thread timer; a step answers true when done.
// Unfinished steps after the limit end the running dialog and fail the test.
class UserSteps {
public:
    using Step = std::function<bool()>;

    explicit UserSteps(std::vector<Step> steps, unsigned tickMs = 15) : steps_(std::move(steps)) {
        current() = this;
        timer_ = ::SetTimer(nullptr, 0, tickMs, &tick);
    }
    ~UserSteps() {
        ::KillTimer(nullptr, timer_);
        current() = nullptr;
    }
    UserSteps(const UserSteps&) = delete;
    UserSteps& operator=(const UserSteps&) = delete;

    bool finished() const { return next_ >= steps_.size(); }

private:
    static UserSteps*& current() {
        static UserSteps* steps = nullptr;
        return steps;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        UserSteps* self = current();
        if (self == nullptr || self->busy_) return;
        self->busy_ = true;
        if (self->next_ < self->steps_.size()) {
            if (self->steps_[self->next_]()) ++self->next_;
        }
        if (++self->ticks_ > kMaxTicks && !self->finished()) {
            ADD_FAILURE() << "step " << self->next_ << " never finished";
            self->next_ = self->steps_.size();
            if (HWND active = ::GetActiveWindow()) ::EndDialog(active, -2);
        }
        self->busy_ = false;
    }

    static constexpr int kMaxTicks = 400;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    bool busy_ = false;
    UINT_PTR timer_ = 0;
};

// Handles messages until `done` answers true or the time is up.
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(2);
    }
    return true;
}

inline void pumpFor(std::chrono::milliseconds time) {
    const auto until = std::chrono::steady_clock::now() + time;
    pumpUntil([&] { return std::chrono::steady_clock::now() > until; }, time + std::chrono::seconds(1));
}

// The top-level window of this thread with that title; null when none.
inline HWND findThreadWindow(const wchar_t* title) {
    struct Search {
        const wchar_t* title;
        HWND found;
    } search{title, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM value) -> BOOL {
            auto* s = reinterpret_cast<Search*>(value);
            wchar_t text[256] = {};
            ::GetWindowTextW(window, text, 256);
            if (::IsWindowVisible(window) && ::lstrcmpW(text, s->title) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A keystroke as the system queues it for the focused window.
inline void postKey(HWND window, UINT key) {
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001U));
}

inline RECT screenRectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

class Win32Test : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = getResourceFolder();
        setResourceFolder(sourcePath("resources").c_str());
        setLanguage(kLangEnglish);
        ASSERT_EQ(setupMyStrings(), 0);
        ASSERT_TRUE(setupDialogs());
    }
    void TearDown() override {
        for (const platform::WindowRef window : made_) platform::destroyWindow(window);
        cleanupMyStrings();
        setResourceFolder(savedFolder_.c_str());
    }
    // A top-level window of a plain class, destroyed after the test.
    platform::WindowRef topLevel(const char* className = "Win32TestFrame") {
        static const bool registered = platform::registerWindowClass("Win32TestFrame", &frameProc);
        EXPECT_TRUE(registered);
        const platform::WindowRef window = platform::createWindow(className, "frame", 0, 0, {40, 40, 400, 300},
                                                                  nullptr, 0);
        if (window != nullptr) made_.push_back(window);
        return window;
    }
    platform::WindowRef child(platform::WindowRef parent, const char* className, std::string_view text,
                              std::uint32_t style, int id, platform::WindowRect rect = {10, 10, 200, 24}) {
        return platform::createWindow(className, text, platform::style::kChild | platform::style::kVisible | style, 0,
                                      rect, parent, id);
    }

private:
    static std::intptr_t LUMBREL_CALLBACK frameProc(platform::WindowRef window, platform::Message message,
                                                    std::uintptr_t wParam, std::intptr_t lParam) {
        return platform::defWindowProc(window, message, wParam, lParam);
    }
    std::string savedFolder_;
    std::vector<platform::WindowRef> made_;
};

}  // namespace lumbrel::test
