// The real module in the simulator, when it has been built: it starts, makes
// its registrations in order, and survives a short session without misusing
// the host. The module's behaviour itself is for the integration tests.
#include "host_fixture.h"

#include <filesystem>

namespace hostsim::test {
namespace {

TEST(RealModule, StartsAndRunsAShortSessionWithoutViolations) {
    if (!std::filesystem::exists(kRealModule)) GTEST_SKIP() << "the module is not built: " << kRealModule;
    desktop::Desktop::instance().reset();
    lumbrel::test::TempDir tmp;
    // Kept mapped at quit as by a host that exits: what the module keeps for
    // its whole life stays reachable.
    Options options;
    options.unloadAtQuit = false;
    Simulator sim(options);
    ASSERT_TRUE(sim.loadModule(std::filesystem::path(kRealModule).parent_path().parent_path().string()))
        << sim.loadError();
    const ActivationResult result = sim.activate();
    ASSERT_TRUE(result.started()) << desktop::Desktop::instance().transcript().render();

    std::vector<std::int32_t> codes;
    for (const Registration& r : sim.registrations()) {
        if (r.kind == Registration::Kind::Callback) codes.push_back(r.code);
    }
    const std::vector<std::int32_t> expected{6, 7, 618, 74, 46, 610, 282, 283, 66, 4, 10, 5, 12, 1064, 279};
    EXPECT_EQ(codes, expected);

    ASSERT_TRUE(sim.newDocument(testDocument()).ok());
    sim.menuState();
    sim.idle(2);
    sim.click(SpreadPoint{1, 150, 150});
    sim.key('x');
    // The module's scripting handler answers through the desktop.
    const std::optional<std::string> reply = sim.scriptRequest("<cmd>7</cmd>");
    ASSERT_TRUE(reply.has_value());
    EXPECT_NE(reply->find("<cmd>7</cmd>"), std::string::npos) << *reply;
    ASSERT_TRUE(sim.save(tmp.file("session.json"))) << sim.lastError();
    sim.quit();
    EXPECT_TRUE(sim.violations().empty()) << ::testing::PrintToString([&] {
        std::vector<std::string> all;
        for (const Violation& v : sim.violations()) all.push_back(v.message);
        return all;
    }());
}

}  // namespace
}  // namespace hostsim::test
