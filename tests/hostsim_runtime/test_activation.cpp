// Activation and start-up: the compatibility answer, registrations in
// order, binding by name and id, withheld groups and optional modules, and
// what a host sends when its launch finishes.
#include "host_fixture.h"

#include <algorithm>
#include <cstring>

namespace hostsim::test {
namespace {

using Kind = Registration::Kind;

TEST_F(HostTest, AcceptedModuleStartsAndRegistersInOrder) {
    auto sim = start();
    const ActivationResult& result = sim->activate();
    EXPECT_TRUE(result.loaded);
    EXPECT_EQ(result.entryResult, 0);
    EXPECT_TRUE(result.startupRegistered);
    ASSERT_TRUE(result.startupResult.has_value());
    EXPECT_TRUE(result.started());
    EXPECT_TRUE(sim->started());

    const auto& regs = sim->registrations();
    ASSERT_GE(regs.size(), 4U);
    EXPECT_EQ(regs[0].kind, Kind::RegistrationValue);
    EXPECT_EQ(regs[0].code, 200);
    EXPECT_EQ(regs[1].kind, Kind::Startup);
    EXPECT_EQ(regs[2].kind, Kind::PaneAlloc);
    EXPECT_EQ(regs[1].a, 7);
    EXPECT_EQ(regs[1].b, 200);
    EXPECT_EQ(regs[1].c, 0);
    std::vector<std::int32_t> codes;
    for (std::size_t i = 3; i < regs.size(); ++i) {
        EXPECT_EQ(regs[i].kind, Kind::Callback);
        EXPECT_NE(regs[i].proc, nullptr);
        codes.push_back(regs[i].code);
        if (regs[i].code == XT_CB_EVENT) {
            EXPECT_EQ(regs[i].b, XT_EVENT_REGISTRATION);
        }
    }
    const std::vector<std::int32_t> expected{6, 7, 618, 46, 610, 282, 283, 66, 4, 10, 5, 12, 1064, 279};
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(transcriptHas("compatibility 'BDIC' 0 5 0x40C70014 0 -> 1"));
    EXPECT_TRUE(transcriptHas("activation -> 0"));
    EXPECT_TRUE(transcriptHas("start-up -> 0"));
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

TEST_F(HostTest, CompatibilityAnswersZeroAndTwoAreRefused) {
    for (std::uint32_t answer : {0U, 2U, 0x101U}) {
        fake.reset();
        Options options;
        options.compatibilityAnswer = answer;
        auto sim = start(options);
        const ActivationResult& result = sim->activate();
        const bool accepted = (answer & 0xFFU) == 1;
        EXPECT_EQ(result.entryResult, accepted ? 0 : static_cast<std::int32_t>(XT_REFUSE)) << answer;
        EXPECT_EQ(result.startupRegistered, accepted) << answer;
        EXPECT_EQ(result.startupResult.has_value(), accepted) << answer;
        EXPECT_EQ(sim->started(), accepted) << answer;
        if (!accepted) {
            EXPECT_TRUE(sim->registrations().empty());
            EXPECT_TRUE(transcriptHas("activation -> 0x51000401 (refused)"));
            EXPECT_EQ(fake.calls().size(), 0U);
        }
    }
}

TEST_F(HostTest, LaunchSendsPaneAllocationDragViewsLanguageAndMenus) {
    Options options;
    options.regionCode = 19;
    static std::int16_t region;
    region = -1;
    fake.hook(XT_CB_LANGUAGE, [](void* record) {
        region = static_cast<XTLanguageRec*>(record)->regionCode;
        return 0;
    });
    auto sim = start(options);
    EXPECT_EQ(region, 19);
    EXPECT_GE(fake.tables().dialogID, 20000);  // the pane allocation ran after the groups were bound
    const std::vector<std::int32_t> calls = fake.calls();
    const std::vector<std::int32_t> expected{1064, 1064, 5, 6};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(fake.tables().viewMenu, 130);
    EXPECT_EQ(fake.tables().itemsMenu, 135);
}

TEST_F(HostTest, WithheldRequiredGroupStopsStartUp) {
    Options options;
    options.withheld = {"xtpicture"};
    auto sim = start(options);
    const ActivationResult& result = sim->activate();
    EXPECT_EQ(result.entryResult, 0);
    ASSERT_TRUE(result.startupResult.has_value());
    EXPECT_EQ(*result.startupResult, static_cast<std::int32_t>(XT_REFUSE));
    EXPECT_FALSE(sim->started());
    const auto asked = sim->groupsBound();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), "xtpicture (withheld)");
    // Groups after the refused one were never asked for.
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "xtxio"), 0);
    EXPECT_TRUE(transcriptHas("start-up -> 0x51000401 (refused)"));
    EXPECT_EQ(fake.calls().size(), 0U);  // no callback ever runs
}

TEST_F(HostTest, WithheldStringGroupByIdStopsStartUp) {
    Options options;
    options.withheld = {"QSB\\1"};
    auto sim = start(options);
    EXPECT_FALSE(sim->started());
    EXPECT_EQ(sim->groupsBound().back(), "'QSB\\1' (withheld)");
}

TEST_F(HostTest, OptionalModulesArePresentUnlessWithheld) {
    {
        auto sim = start();
        EXPECT_NE(fake.tables().pdf, nullptr);
        EXPECT_NE(fake.tables().layers, nullptr);
        EXPECT_NE(fake.tables().dataExchange, nullptr);
        sim->quit();
    }
    fake.reset();
    Options options;
    options.withheld = {"XPDF", "layers", "DEA1"};
    auto bare = start(options);
    EXPECT_TRUE(bare->started());
    EXPECT_EQ(fake.tables().pdf, nullptr);
    EXPECT_EQ(fake.tables().layers, nullptr);
    EXPECT_EQ(fake.tables().dataExchange, nullptr);
    const auto asked = bare->groupsBound();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "module 'XPDF' (absent)"), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), "'DEA\\1' (withheld)"), asked.end());
}

// A module built against fewer functions than the host has gets only those.
TEST_F(HostTest, BindingFillsNoMoreThanTheModulesTable) {
    fake.hook(FAKE_HOOK_STARTUP, [](void* record) {
        const auto* callbacks = static_cast<const XTCallbackRec*>(record);
        struct ShortBoxTable {
            std::uint32_t size;
            XTBoxID (*firstBox)(std::int16_t);
            XTBoxID (*nextBox)(XTBoxID);
        };
        struct Padded {
            ShortBoxTable table;
            void* guard;
        } padded{};
        padded.table.size = sizeof(ShortBoxTable);
        padded.guard = reinterpret_cast<void*>(0x1234);
        XTSetupRec setup{};
        callbacks->initSetup(&setup, XT_API_VERSION, XT_API_BUILD, XT_API_HOSTVERSION);
        if (callbacks->bindGroup(&setup, "xtbox", &padded.table, sizeof(ShortBoxTable)) != 0) return 1;
        if (padded.table.firstBox == nullptr || padded.table.nextBox == nullptr) return 2;
        if (padded.guard != reinterpret_cast<void*>(0x1234)) return 3;
        if (padded.table.size != sizeof(ShortBoxTable)) return 4;
        // An unknown name is refused.
        std::uint32_t tiny = sizeof tiny;
        if (callbacks->bindGroup(&setup, "xtnothing", &tiny, sizeof tiny) == 0) return 5;
        return 0;
    });
    auto sim = start();
    EXPECT_TRUE(sim->started()) << (sim->activate().startupResult ? *sim->activate().startupResult : -99);
    const auto asked = sim->groupsBound();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "xtnothing (unknown)"), asked.end());
}

TEST_F(HostTest, BindingWithAWrongSizeFieldIsAViolation) {
    fake.hook(FAKE_HOOK_STARTUP, [](void* record) {
        const auto* callbacks = static_cast<const XTCallbackRec*>(record);
        XTSetupRec setup{};
        callbacks->initSetup(&setup, XT_API_VERSION, XT_API_BUILD, XT_API_HOSTVERSION);
        XTMasterGroup table{};
        table.size = 4;  // not sizeof(table)
        callbacks->bindGroup(&setup, "xtmaster", &table, sizeof table);
        XTSetupRec blank{};
        callbacks->bindGroup(&blank, "xtmaster", &table, sizeof table);
        return 0;
    });
    auto sim = start();
    const auto found = messages(*sim);
    ASSERT_EQ(found.size(), 2U) << ::testing::PrintToString(found);
    EXPECT_EQ(found[0], "callbacks.bindGroup called for \"xtmaster\" with a table whose size field (4) differs from its size (" +
                            std::to_string(sizeof(XTMasterGroup)) + ")");
    EXPECT_EQ(found[1], "callbacks.bindGroup called for \"xtmaster\" without a set-up record from initSetup");
}

TEST_F(HostTest, ActivationIsDoneOnceAndQuitSendsShutdown) {
    auto sim = start();
    const std::size_t registrations = sim->registrations().size();
    sim->activate();
    EXPECT_EQ(sim->registrations().size(), registrations);
    sim->quit();
    EXPECT_TRUE(sim->quitted());
    EXPECT_FALSE(sim->started());
    EXPECT_EQ(fake.count(XT_CB_SHUTDOWN), 1U);
    EXPECT_TRUE(transcriptHas("quit"));
    sim->quit();
    EXPECT_EQ(fake.count(XT_CB_SHUTDOWN), 1U);
}

}  // namespace
}  // namespace hostsim::test
