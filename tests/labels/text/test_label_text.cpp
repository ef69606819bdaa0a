// The name a label shows, cut from the host's path as each build's paths are
// written; these need no host and run in every build.
#include <gtest/gtest.h>

#include "labels/label_draw.h"
#include "labels/label_state.h"
#include "platform/platform_traits.h"

namespace lumbrel {
namespace {

TEST(LabelText, FileNameModeCutsAtTheBuildsSeparatorShiftModeKeepsAll) {
    const bool windows = platform::Traits::kPathSeparator == '\\';
    const struct {
        const char* path;
        const char* windows;
        const char* posix;
    } cases[] = {
        {R"(C:\Bilder\Job 1\bild.tif)", "bild.tif", R"(\Bilder\Job 1\bild.tif)"},
        {R"(\\server\share\scan.eps)", "scan.eps", R"(\\server\share\scan.eps)"},
        {"Macintosh HD:Pictures:scan.eps", "Macintosh HD:Pictures:scan.eps", "scan.eps"},
        {"/home/a/Gr\xC3\xBC\xC3\x9F" "e.jpg", "Gr\xC3\xBC\xC3\x9F" "e.jpg", "Gr\xC3\xBC\xC3\x9F" "e.jpg"},
        {R"(/mixed\name.tif)", R"(mixed\name.tif)", R"(mixed\name.tif)"},
        {R"(C:\Bilder\)", "", R"(\Bilder\)"},
        {"bild.tif", "bild.tif", "bild.tif"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(labelText(c.path, kLabelsFileName), windows ? c.windows : c.posix) << c.path;
        EXPECT_EQ(labelText(c.path, kLabelsShift), c.path);
    }
}

}  // namespace
}  // namespace lumbrel
