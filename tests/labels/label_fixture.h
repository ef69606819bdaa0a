// The host-layer test ground for labels: the module started in the fake
// host, with one spread to put boxes on and helpers that run a box draw or
// a print job as the host does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/module_fixture.h"
#include "labels/label_state.h"
#include "platform/platform_traits.h"

namespace lumbrel::test {

class LabelFixture : public ModuleTest {
protected:
    void SetUp() override;

    // Runs the box-drawing callback for the box as the host would.
    void draw(XTBoxID box, std::int16_t phase = XT_DRAW_PHASE_CONTENT);
    void jobStart();
    void jobEnd();

    // A picture box at (left, top), 100 points square.
    void pictureBox(XTBoxID id, int left, int top, const std::string& path);

    // The text with each "\r" replaced by the build's line end.
    static std::string lines(std::string_view text);
};

// The strings of a PostScript text as the interpreter reads them (escapes
// resolved, nested parentheses kept); false when a string is not closed.
bool psStrings(std::string_view postScript, std::vector<std::string>* strings);

}  // namespace lumbrel::test
