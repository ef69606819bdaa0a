// Tests of the host simulator's runtime run the fake module (fake_module/)
// inside a Simulator. The test keeps the fake module loaded itself, so the
// simulator's dlopen finds the instance whose hooks the test set.
#pragma once

#include "fake_module.h"

#include "hostsim/host/runtime.h"
#include "hostsim/host/simulator.h"
#include "hostsim/model/document.h"

#include "desktop/desktop.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>
#include <string>
#include <vector>

namespace hostsim::test {

inline constexpr const char* kFakeModule = HOSTSIM_FAKE_MODULE;
inline constexpr const char* kFakeXTensions = HOSTSIM_FAKE_XTENSIONS;
inline constexpr const char* kRealModule = HOSTSIM_REAL_MODULE;

class FakeModule {
public:
    FakeModule() {
        handle_ = dlopen(kFakeModule, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) return;
        reset_ = reinterpret_cast<void (*)()>(dlsym(handle_, "fake_reset"));
        setHook_ = reinterpret_cast<void (*)(std::int32_t, FakeHook)>(dlsym(handle_, "fake_set_hook"));
        tables_ = reinterpret_cast<FakeTables* (*)()>(dlsym(handle_, "fake_tables"));
        calls_ = reinterpret_cast<std::int32_t (*)(std::int32_t*, std::int32_t)>(dlsym(handle_, "fake_calls"));
    }
    ~FakeModule() {
        if (handle_ != nullptr) dlclose(handle_);
    }
    FakeModule(const FakeModule&) = delete;
    FakeModule& operator=(const FakeModule&) = delete;

    bool ok() const { return reset_ != nullptr && setHook_ != nullptr && tables_ != nullptr && calls_ != nullptr; }
    void reset() { reset_(); }
    void hook(std::int32_t code, FakeHook fn) { setHook_(code, fn); }
    FakeTables& tables() { return *tables_(); }
    std::vector<std::int32_t> calls() {
        std::vector<std::int32_t> codes(static_cast<std::size_t>(calls_(nullptr, 0)));
        calls_(codes.data(), static_cast<std::int32_t>(codes.size()));
        return codes;
    }
    // Calls of one callback code.
    std::size_t count(std::int32_t code) {
        std::size_t n = 0;
        for (std::int32_t c : calls()) n += c == code ? 1 : 0;
        return n;
    }

private:
    void* handle_ = nullptr;
    void (*reset_)() = nullptr;
    void (*setHook_)(std::int32_t, FakeHook) = nullptr;
    FakeTables* (*tables_)() = nullptr;
    std::int32_t (*calls_)(std::int32_t*, std::int32_t) = nullptr;
};

// A document of `spreads` single-page spreads of 612 x 792 points, each
// with a picture box at (100, 100)-(200, 300) and a text box at
// (400, 100)-(500, 300), in that chain order.
inline Document testDocument(int spreads = 3) {
    Document doc;
    doc.projectName = "Test Layout";
    doc.pageWidth = 612.0;
    doc.pageHeight = 792.0;
    for (int i = 1; i <= spreads; ++i) {
        Spread spread;
        spread.width = 612.0;
        spread.height = 792.0;
        spread.pages.push_back(Page{std::to_string(i), 0, 0.0, 0.0});
        const int number = doc.addSpread(spread);
        doc.addBox(number, kBoxPicture, Rect{100, 100, 200, 300});
        doc.addBox(number, kBoxText, Rect{400, 100, 500, 300});
    }
    doc.setCurrentPage(1);
    doc.markSaved();
    return doc;
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::Desktop::instance().reset();
        ASSERT_TRUE(fake.ok()) << dlerror();
        fake.reset();
    }

    // A simulator with the fake module loaded and activated.
    std::unique_ptr<Simulator> start(Options options = {}) {
        auto sim = std::make_unique<Simulator>(std::move(options));
        EXPECT_TRUE(sim->loadModule(kFakeModule)) << sim->loadError();
        sim->activate();
        return sim;
    }

    std::vector<std::string> lines() const {
        std::vector<std::string> all;
        for (const auto& entry : desktop::Desktop::instance().transcript().entries()) all.push_back(entry.line);
        return all;
    }
    bool transcriptHas(const std::string& line) const {
        for (const std::string& l : lines()) {
            if (l == line) return true;
        }
        return false;
    }
    static std::vector<std::string> messages(const Simulator& sim) {
        std::vector<std::string> all;
        for (const Violation& v : sim.violations()) all.push_back(v.message);
        return all;
    }

    FakeModule fake;
    lumbrel::test::TempDir tmp;
};

}  // namespace hostsim::test
