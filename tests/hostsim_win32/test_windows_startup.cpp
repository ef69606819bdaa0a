// The plug-in DLL in the Windows host: the numbers it states at activation
// and start-up (the host polices them), its log lines, the output commands,
// and its event filter on window messages (the real clipboard, the real
// keyboard state).
#include "hostsim/host/simulator.h"

#include "desktop/desktop.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

namespace hostsim {
namespace {

namespace fs = std::filesystem;

#if defined(LUMBREL_PLUGIN_DLL)
const fs::path kPluginDll = LUMBREL_PLUGIN_DLL;
const fs::path kSourceDir = LUMBREL_SOURCE_DIR;
#endif

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

fs::path logFile() {
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents))) return {};
    return fs::path(documents) / "Lumbrel.log";
}

std::string clipboardText() {
    std::string text = "<none>";
    if (!OpenClipboard(nullptr)) return "<closed>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            const int size = WideCharToMultiByte(CP_UTF8, 0, units, -1, nullptr, 0, nullptr, nullptr);
            text.assign(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
            if (size > 1) WideCharToMultiByte(CP_UTF8, 0, units, -1, text.data(), size, nullptr, nullptr);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void setClipboardText(const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// The DLL alone in a fresh XTensions folder, with its own settings file.
class WindowsPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(LUMBREL_PLUGIN_DLL)
        GTEST_SKIP() << "the build makes no plug-in DLL";
#else
        static int made = 0;
        folder_ = fs::temp_directory_path() /
                  ("lumbrel-win-startup-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "XTensions");
        fs::copy_file(kPluginDll, folder_ / "XTensions" / "Lumbrel.xnt");
        std::ofstream(folder_ / "XTensions" / "Lumbrel.ini", std::ios::binary)
            << "[Default]\r\nLogging=2\r\nSaveWarning=1\r\nCopyPath=c\r\n";
        agent_ = std::make_shared<desktop::ScriptedAgent>();
        desktop::Desktop::instance().setAgent(agent_);
        logStart_ = fs::exists(logFile()) ? fs::file_size(logFile()) : 0;
#endif
    }
    void TearDown() override {
        sim_.reset();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    Simulator& start(std::uint32_t compatibility = 1) {
        Options options;
        options.compatibilityAnswer = compatibility;
        options.transcribeViolations = true;
        sim_.reset();  // one host at a time
        sim_ = std::make_unique<Simulator>(options);
        EXPECT_TRUE(sim_->loadModule((folder_ / "XTensions").string())) << sim_->loadError();
        sim_->activate();
        return *sim_;
    }

    // What the module logged since the test began.
    std::string logged() const {
        const std::string all = readAll(logFile());
        return all.size() >= logStart_ ? all.substr(static_cast<std::size_t>(logStart_)) : all;
    }

    std::string violations() const {
        std::string text;
        for (const Violation& v : sim_->violations()) text += v.message + "\n";
        return text;
    }

    fs::path folder_;
    std::uintmax_t logStart_ = 0;
    std::shared_ptr<desktop::ScriptedAgent> agent_;
    std::unique_ptr<Simulator> sim_;
};

TEST_F(WindowsPluginTest, AHostThatDoesNotAcceptTheModuleGetsNoStartup) {
    for (std::uint32_t answer : {0U, 2U}) {
        const ActivationResult result = start(answer).activate();
        EXPECT_EQ(result.entryResult, static_cast<std::int32_t>(XT_REFUSE)) << answer;
        EXPECT_FALSE(result.startupRegistered) << answer;
        EXPECT_FALSE(result.startupResult.has_value()) << answer;
        sim_->quit();
    }
}

TEST_F(WindowsPluginTest, StartsWithTheWindowsNumbersAndLogsItsLinesInCrLf) {
    Simulator& sim = start();
    ASSERT_TRUE(sim.started());
    EXPECT_TRUE(sim.violations().empty()) << violations();  // the host checks every number and table
    std::size_t callbacks = 0;
    for (const Registration& r : sim.registrations()) {
        if (r.kind == Registration::Kind::RegistrationValue) {
            EXPECT_EQ(r.code, 200);
            continue;
        }
        const bool event = r.kind == Registration::Kind::Callback && r.code == XT_CB_EVENT;
        EXPECT_EQ(r.a, 5) << r.code;
        EXPECT_EQ(r.b, event ? 10 : 200) << r.code;
        EXPECT_EQ(r.c, 0) << r.code;
        if (r.kind == Registration::Kind::Callback) ++callbacks;
    }
    EXPECT_GE(callbacks, 13U);
    // The interface tables, in the order asked, every one answered.
    std::vector<std::string> tables, expected;
    for (const std::string& asked : sim.groupsBound()) {
        if (asked.rfind("'QL", 0) == 0) tables.push_back(asked);
    }
    for (int v = 0; v < 4; ++v) expected.push_back("'QLIU' " + std::to_string(v));
    for (int v = 0; v < 12; ++v) expected.push_back("'QLID' " + std::to_string(v));
    for (int v : {0, 2, 1}) expected.push_back("'QLIS' " + std::to_string(v));
    expected.push_back("'QLOT' 0");
    EXPECT_EQ(tables, expected);

    ASSERT_TRUE(sim.open((kSourceDir / "samples" / "sample.json").string()).ok()) << sim.lastError();
    sim.switchIn();
    const std::string log = logged();
    EXPECT_EQ(log.rfind("\r\n####\tLumbrel 4.67: ", 0), 0U) << log;
    const auto open = log.find("doOpen\r\n");
    const auto switchIn = log.find("switchIn...\r\n");
    EXPECT_NE(open, std::string::npos) << log;
    EXPECT_NE(switchIn, std::string::npos) << log;
    EXPECT_LT(open, switchIn);
}

TEST_F(WindowsPluginTest, Commands113And118RunTheOutputCheckAnd117DoesNot) {
    Simulator& sim = start();
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(sim.open((kSourceDir / "samples" / "sample.json").string()).ok()) << sim.lastError();
    const struct {
        std::int16_t command;
        bool checks;
    } rows[] = {{117, false}, {113, true}, {118, true}, {201, false}};  // 201: a view command
    for (const auto& row : rows) {
        const std::size_t before = logged().size();
        sim.hostCommand(row.command);  // the check's questions take their defaults
        const std::string lines = logged().substr(before);
        EXPECT_EQ(lines.find("checkImages_1\r\n") != std::string::npos, row.checks) << row.command << ": " << lines;
    }
}

TEST_F(WindowsPluginTest, CopyNameAndRenameKeysAndIdleMessages) {
    Simulator& sim = start();
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(sim.open((kSourceDir / "samples" / "sample.json").string()).ok()) << sim.lastError();

    setClipboardText(L"before");
    ASSERT_TRUE(sim.selectBox(4));  // a text box: the key goes on to the host
    EXPECT_FALSE(sim.key('c', XT_MOD_CONTROL).swallowed);
    EXPECT_EQ(clipboardText(), "before");
    ASSERT_TRUE(sim.selectBox(3));  // a picture box: its file name, the key swallowed
    EXPECT_FALSE(sim.key('c', XT_MOD_CONTROL | XT_MOD_SHIFT).swallowed);
    EXPECT_EQ(clipboardText(), "before");
    EXPECT_TRUE(sim.key('c', XT_MOD_CONTROL).swallowed);
    EXPECT_EQ(clipboardText(), "rgb.tif");

    // Control+Shift+R on a text box reaches rename, which answers at once.
    ASSERT_TRUE(sim.selectBox(4));
    EXPECT_TRUE(sim.key('r', XT_MOD_CONTROL | XT_MOD_SHIFT).swallowed);

    sim.idle(3);
    EXPECT_TRUE(sim.violations().empty()) << violations();
}

TEST_F(WindowsPluginTest, ShiftAtTheCommandIsReadFromTheKeyboardState) {
    Simulator& sim = start();
    ASSERT_TRUE(sim.started());
    ASSERT_TRUE(sim.open((kSourceDir / "samples" / "sample.json").string()).ok()) << sim.lastError();
    auto checked = [&] {
        for (const MenuState& menu : sim.menuState()) {
            for (const MenuItemState& item : menu.items) {
                if (item.title == "Show Image Names") return item.checked;
            }
        }
        ADD_FAILURE() << "no item Show Image Names";
        return false;
    };
    // With Shift the item always switches the labels on; without, it toggles.
    ASSERT_TRUE(sim.chooseMenu("Show Image Names", XT_MOD_SHIFT));
    EXPECT_TRUE(checked());
    ASSERT_TRUE(sim.chooseMenu("Show Image Names", XT_MOD_SHIFT));
    EXPECT_TRUE(checked());
    ASSERT_TRUE(sim.chooseMenu("Show Image Names"));
    EXPECT_FALSE(checked());
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);  // released after the command
}

}  // namespace
}  // namespace hostsim
