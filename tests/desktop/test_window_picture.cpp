#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "support/test_support.h"

#include <cstdlib>

namespace lumbrel::test {
namespace {

namespace pw = platform;
namespace st = platform::style;
using desktop::DialogAction;
using pw::Message;
using pw::WindowRef;
using namespace dialog_ids;

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The picture of the dialog as it is when the agent is first asked.
std::string pictureAtFirstQuestion(desktop::ScriptedAgent& agent, const DialogScript& script) {
    std::string svg;
    agent.setDialogStep([&](const desktop::DialogRequest& request) {
        if (svg.empty()) svg = desktop::Desktop::instance().windowPicture(request.dialog);
        return DialogAction::click(kCancel);
    });
    runTestDialog(script);
    return svg;
}

class WindowPictureTest : public DialogTest {};

TEST_F(WindowPictureTest, ThePictureShowsTheControlsTextsAndStates) {
    DialogScript script;
    script.title = "Image <List>";
    const std::string plain = pictureAtFirstQuestion(*agent, script);
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain.rfind("<?xml", 0), 0u);
    EXPECT_NE(plain.find("font-family=\"Tahoma, 'DejaVu Sans Condensed', 'DejaVu Sans', sans-serif\""), std::string::npos);
    EXPECT_NE(plain.find(">Image &lt;List&gt;</text>"), std::string::npos);  // escaped title
    for (const char* text : {">OK<", ">Cancel<", ">Labels<", ">start<", ">Inches<", ">alpha.tif<", ">General<",
                             ">Units:<", ">Off<"}) {
        EXPECT_NE(plain.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(plain.find("secret"), std::string::npos);  // the password is masked
    EXPECT_NE(plain.find("\xE2\x97\x8F\xE2\x97\x8F\xE2\x97\x8F\xE2\x97\x8F\xE2\x97\x8F\xE2\x97\x8F"), std::string::npos);
    EXPECT_EQ(plain.find(">Hidden<"), std::string::npos);  // hidden controls are absent
    EXPECT_EQ(plain.find("Millimetres"), std::string::npos);  // a closed pop-up shows its current item only

    // The disabled button's title is grey, the others black.
    const std::size_t off = plain.find(">Off<");
    const std::size_t offStart = plain.rfind("<text", off);
    EXPECT_NE(plain.substr(offStart, off - offStart).find("#A0A0A0"), std::string::npos);
    const std::size_t ok = plain.find(">OK<");
    const std::size_t okStart = plain.rfind("<text", ok);
    EXPECT_EQ(plain.substr(okStart, ok - okStart).find("#A0A0A0"), std::string::npos);

    // State changes change the picture: a tick for the checked box, a dot for the radio,
    // an enabled "Off", a shown "Hidden".
    const std::size_t circlesBefore = countOf(plain, "<circle");
    const std::size_t pathsBefore = countOf(plain, "<path");
    DialogScript changed;
    changed.onInit = [](WindowRef dialog) {
        pw::setControlValue(pw::findChild(dialog, kCheck), 1);
        pw::setControlValue(pw::findChild(dialog, kRadioA), 1);
        pw::enableWindow(pw::findChild(dialog, kDisabled), true);
        pw::showWindow(pw::findChild(dialog, kHidden), true);
    };
    const std::string after = pictureAtFirstQuestion(*agent, changed);
    EXPECT_EQ(countOf(after, "<circle"), circlesBefore + 1);
    EXPECT_EQ(countOf(after, "<path"), pathsBefore + 1);
    EXPECT_NE(after.find(">Hidden<"), std::string::npos);
    const std::size_t on = after.find(">Off<");
    const std::size_t onStart = after.rfind("<text", on);
    EXPECT_EQ(after.substr(onStart, on - onStart).find("#A0A0A0"), std::string::npos);
}

std::intptr_t LUMBREL_CALLBACK paintingProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::Paint) {
        auto* canvas = reinterpret_cast<pw::Canvas*>(lParam);
        pw::drawLine(canvas, 0, 0, 20, 0, 0x808080);
        pw::drawText(canvas, {0, 0, 50, 16}, "painted " + pw::windowText(window), 0, 0x000000,
                     reinterpret_cast<pw::FontRef>(pw::property(window, "font")));
    }
    if (message == Message::DrawItem) {
        const auto* item = reinterpret_cast<const pw::DrawItem*>(lParam);
        pw::fillRect(item->canvas, item->rect, item->selected ? 0x0000FF : 0xFFFFFF);
        pw::drawText(item->canvas, item->rect, "row " + pw::itemText(item->control, item->item), 0, 0, nullptr);
    }
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowPictureTest, OwnClassesPaintThemselvesAndOwnerDrawnListsAskTheirParent) {
    ASSERT_TRUE(pw::registerWindowClass("Painter", paintingProc));
    const WindowRef pane = pw::createWindow("Painter", "pane", st::kVisible, 0, {0, 0, 200, 120}, nullptr, 0);
    const pw::FontRef bold = pw::createFont("MS Shell Dlg", 12, 700);
    pw::setProperty(pane, "font", reinterpret_cast<std::intptr_t>(bold));
    const WindowRef child = pw::createWindow("Painter", "child", st::kChild | st::kVisible, 0, {10, 20, 60, 20}, pane, 1);
    pw::setProperty(child, "font", reinterpret_cast<std::intptr_t>(pw::createFont("MS Shell Dlg", 12, 400)));
    const WindowRef list = pw::createWindow(pw::kListBoxClass, "", st::kChild | st::kVisible | st::kListOwnerDrawFixed,
                                            st::kExClientEdge, {10, 50, 100, 60}, pane, 2);
    pw::addItem(list, "a");
    pw::addItem(list, "b");
    pw::setControlValue(list, 1);

    const std::string svg = desk().windowPicture(pane);
    EXPECT_NE(svg.find("font-weight=\"bold\" clip-path=\"url(#clip1)\" xml:space=\"preserve\">painted pane<"),
              std::string::npos);
    // The child is painted at its place: 10 + 0, 20 + 0; the line at pixel centres.
    EXPECT_NE(svg.find("x1=\"10.5\" y1=\"20.5\""), std::string::npos);
    EXPECT_NE(svg.find(">painted child<"), std::string::npos);
    EXPECT_EQ(countOf(svg, "painted child"), 1u);
    EXPECT_NE(svg.find(">row a<"), std::string::npos);
    EXPECT_NE(svg.find(">row b<"), std::string::npos);
    // The selected row is drawn selected, inside the list's client area (2 pixels of edge).
    EXPECT_NE(svg.find("x=\"12\" y=\"68\" width=\"96\" height=\"16\" fill=\"#0000FF\""), std::string::npos);

    EXPECT_EQ(desk().windowPicture(nullptr), "");
    pw::destroyWindow(pane);
    EXPECT_EQ(desk().windowPicture(pane), "");
}

TEST_F(WindowPictureTest, TheFocusedControlIsMarked) {
    std::vector<std::string> pictures;
    agent->setDialogStep([&](const desktop::DialogRequest& request) {
        pictures.push_back(desk().windowPicture(request.dialog));
        switch (pictures.size()) {
            case 1: return DialogAction::setText(kEdit, "typed");  // the field takes the focus
            case 2: return DialogAction::press(desktop::DialogKey::Tab);
            default: return DialogAction::click(kCancel);
        }
    });
    DialogScript script;
    runTestDialog(script);
    ASSERT_EQ(pictures.size(), 3u);
    const std::string accent = "stroke=\"#0078D7\"";
    // First the OK button, the first tab stop: a dotted rectangle inside it.
    EXPECT_EQ(countOf(pictures[0], "class=\"focus\""), 1u);
    // The edit field: its border takes the accent colour instead.
    EXPECT_EQ(countOf(pictures[1], "class=\"focus\""), 0u);
    EXPECT_EQ(countOf(pictures[1], accent), countOf(pictures[0], accent) + 1);
    // Tab moves on to the radio button "Name": a dotted rectangle around its label.
    EXPECT_EQ(countOf(pictures[2], "class=\"focus\""), 1u);
    EXPECT_EQ(countOf(pictures[2], accent), countOf(pictures[0], accent));
}

TEST_F(WindowPictureTest, PicturesAreWrittenAsSvgOrPng) {
    TempDir dir;
    const WindowRef top = pw::createWindow(pw::kButtonClass, "Alone", st::kVisible, 0, {0, 0, 80, 24}, nullptr, 1);
    const std::string svgPath = dir.file("button.svg");
    ASSERT_TRUE(desk().writeWindowPicture(top, svgPath));
    EXPECT_EQ(readFile(svgPath), desk().windowPicture(top));
    EXPECT_FALSE(desk().writeWindowPicture(top, dir.file("missing/x.svg")));
    pw::destroyWindow(top);
    EXPECT_FALSE(desk().writeWindowPicture(top, svgPath));

    DialogScript script;
    std::string pngPath = dir.file("dialog.png");
    bool written = false;
    agent->setDialogStep([&](const desktop::DialogRequest& request) {
        written = desk().writeWindowPicture(request.dialog, pngPath);
        return DialogAction::click(kOk);
    });
    runTestDialog(script);
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "rsvg-convert is not installed";
    ASSERT_TRUE(written);
    const std::string png = readFile(pngPath);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

}  // namespace
}  // namespace lumbrel::test
