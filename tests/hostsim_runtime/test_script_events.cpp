// Scripting requests from other programs, delivered to the handler the
// module installed through the platform interface.
#include "host_fixture.h"

#include "desktop/script_events.h"
#include "platform/script_events.h"

namespace hostsim::test {
namespace {

constexpr std::uint32_t kEvent = XT_FOURCC('A', 'M', 'S', 'o');

FakeTables* gTables = nullptr;
bool gHadText = true;

void echo(const lumbrel::platform::ScriptRequest& request, const lumbrel::platform::ScriptReply& reply) {
    gHadText = request.text != nullptr;
    if (request.text == nullptr) return;  // no direct parameter: no reply
    std::string text = "<reply>" + std::string(request.text, request.length) + "</reply>";
    // The handler may use the host while it answers.
    text += std::to_string(gTables->box.firstBox(1) != 0 ? 1 : 0);
    reply.set(reply.context, text.data(), text.size());
    reply.set(reply.context, "second", 6);  // ignored: a reply is set once
}

class ScriptTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        gTables = &fake.tables();
        fake.hook(FAKE_HOOK_STARTUP, [](void*) {
            return lumbrel::platform::installScriptHandler(kEvent, kEvent, echo) ? 0 : 1;
        });
        sim = start();
        ASSERT_TRUE(sim->started());
    }
    std::unique_ptr<Simulator> sim;
};

TEST_F(ScriptTest, RequestsReachTheInstalledHandlerAndRepliesComeBack) {
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    const std::string request = std::string("<cmd>1</cmd>\0x", 14);
    const std::optional<std::string> reply = sim->scriptRequest(request);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(*reply, "<reply>" + request + "</reply>1");
    EXPECT_TRUE(transcriptHas("scripting request 'AMSo'/'AMSo' (14 bytes)"));
    EXPECT_TRUE(transcriptHas("scripting reply (" + std::to_string(reply->size()) + " bytes)"));
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));

    EXPECT_FALSE(sim->scriptRequest(std::nullopt, kEvent, kEvent).has_value());
    EXPECT_FALSE(gHadText);
    EXPECT_FALSE(sim->scriptRequest(std::string("x"), kEvent, XT_FOURCC('o', 't', 'h', 'r')).has_value());
    EXPECT_TRUE(transcriptHas("scripting request 'AMSo'/'othr': no handler installed"));
}

TEST_F(ScriptTest, HandlersGoWhenTheModuleIsUnloaded) {
    EXPECT_TRUE(desktop::scriptHandlerInstalled(kEvent, kEvent));
    sim->quit();
    EXPECT_FALSE(desktop::scriptHandlerInstalled(kEvent, kEvent));
    EXPECT_FALSE(desktop::sendScriptEvent(kEvent, kEvent, std::string("<cmd>1</cmd>")).has_value());
}

TEST(ScriptEvents, PlatformInstallRemoveAndDelivery) {
    EXPECT_FALSE(lumbrel::platform::installScriptHandler(1, 2, nullptr));
    ASSERT_TRUE(lumbrel::platform::installScriptHandler(1, 2, [](const auto&, const auto& reply) {
        reply.set(reply.context, "ok", 2);
    }));
    EXPECT_EQ(desktop::sendScriptEvent(1, 2, std::nullopt), std::optional<std::string>("ok"));
    EXPECT_FALSE(desktop::sendScriptEvent(2, 1, std::nullopt).has_value());
    lumbrel::platform::removeScriptHandler(1, 2);
    EXPECT_FALSE(desktop::scriptHandlerInstalled(1, 2));
}

}  // namespace
}  // namespace hostsim::test
