// The host-free parts of dropping all files of a drag: which files a drag
// may bring and into what kind of box, where the files of one drop land,
// the picture scale, the names that are lists and PDFs, and the dropped-item
// records kept until idle time.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "drop/dropped_items.h"

namespace lumbrel {
namespace {

using namespace std::string_literals;

TEST(DroppedItems, ExtensionIsTheTextAfterTheLastDotOfTheName) {
    const struct {
        std::string_view path, extension;
    } cases[] = {
        {"C:\\Jobs\\photo.TIF", "TIF"}, {"/Jobs/archive.tar.gz", "gz"}, {"C:\\Jobs\\noext", ""},
        {"C:\\Jobs.d\\file", ""},       {"/Jobs.d/file", ""},          {"C:\\Jobs\\name.", ""},
        {".hidden", "hidden"},          {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(dropExtension(c.path), c.extension) << c.path;
}

TEST(DroppedItems, ContentKindComesFromLayEAndTheHostsFiltersPicturesFirst) {
    const std::string_view pictures = "tif;jpg;;pdf";
    const std::string_view texts = "txt;pdf";
    const struct {
        std::string_view path;
        std::int16_t kind;
    } cases[] = {
        {"C:\\a.tif", XT_BOX_PICTURE}, {"C:\\a.TIF", XT_BOX_PICTURE}, {"C:\\a.Jpg", XT_BOX_PICTURE},
        {"C:\\a.lay", XT_BOX_PICTURE}, {"C:\\a.LAY", XT_BOX_PICTURE}, {"C:\\a.e", XT_BOX_PICTURE},
        {"C:\\a.E", XT_BOX_PICTURE},   {"C:\\a.pdf", XT_BOX_PICTURE}, {"C:\\a.txt", XT_BOX_TEXT},
        {"C:\\a.TXT", XT_BOX_TEXT},    {"C:\\a.ti", 0},               {"C:\\a.tiff", 0},
        {"C:\\a.tx", 0},               {"C:\\a.zip", 0},              {"C:\\a", 0},
        {"C:\\a.", 0},                 {"C:\\a.ee", 0},               {"C:\\a.layx", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(dropContentKind(c.path, pictures, texts), c.kind) << c.path;
    // Without the host's filters only "lay" and "e" are taken.
    EXPECT_EQ(dropContentKind("C:\\a.e", "", ""), XT_BOX_PICTURE);
    EXPECT_EQ(dropContentKind("C:\\a.tif", "", ""), 0);
    EXPECT_FALSE(extensionListed("tif;jpg", ""));
    EXPECT_FALSE(extensionListed(";;", ""));
}

TEST(DroppedItems, FilesOfOneDropCascadeTwentyApartWithinScreenCoordinates) {
    const struct {
        XTPoint first;
        std::size_t index;
        XTPoint at;
    } cases[] = {
        {{100, 30}, 0, {100, 30}},
        {{100, 30}, 1, {120, 50}},
        {{100, 30}, 3, {160, 90}},
        {{-50, -10}, 2, {-10, 30}},
        {{INT16_MAX - 10, 0}, 1, {INT16_MAX, 20}},
        {{0, 0}, SIZE_MAX, {INT16_MAX, INT16_MAX}},
    };
    for (const auto& c : cases) {
        const XTPoint at = cascadePoint(c.first, c.index);
        EXPECT_EQ(at.v, c.at.v) << c.index;
        EXPECT_EQ(at.h, c.at.h) << c.index;
    }
}

TEST(DroppedItems, NewBoxSidesAndPictureScale) {
    EXPECT_EQ(newDropBoxSide(XT_BOX_PICTURE), 72);
    EXPECT_EQ(newDropBoxSide(XT_BOX_TEXT), 144);
    EXPECT_EQ(newDropBoxSide(XT_BOX_LINE), 0);
    EXPECT_EQ(newDropBoxSide(0), 0);
    const struct {
        std::int32_t percent;
        Fixed scale;
    } cases[] = {{100, 65536}, {50, 32768}, {250, 163840}, {1, 655}, {0, 0}, {-50, -32768},
                 {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MIN}};
    for (const auto& c : cases) EXPECT_EQ(dropPictureScale(c.percent), c.scale) << c.percent;
}

TEST(DroppedItems, RelinkListsAreNamedExactlyAustauschTxtAndPdfsEndInPdf) {
    for (const char* path : {"C:\\Jobs\\Austausch.txt", "/Jobs/Austausch.txt", "Austausch.txt"}) {
        EXPECT_TRUE(isRelinkListPath(path)) << path;
    }
    for (const char* path : {"C:\\Jobs\\austausch.txt", "C:\\Jobs\\Austausch.TXT", "C:\\Jobs\\Austausch.txt.bak",
                             "C:\\Jobs\\MyAustausch.txt", "C:\\Austausch.txt\\list.txt", ""}) {
        EXPECT_FALSE(isRelinkListPath(path)) << path;
    }
    for (const char* path : {"C:\\a.pdf", "C:\\a.PDF", "C:\\a.Pdf", ".pdf"}) EXPECT_TRUE(isPdfPath(path)) << path;
    for (const char* path : {"C:\\a.pdfx", "C:\\apdf", "pdf", "", "C:\\a.pd"}) EXPECT_FALSE(isPdfPath(path)) << path;
}

XTFileSpec specOf(const std::string& path, const std::string& label = "") {
    XTFileSpec spec{};
    spec.size = sizeof spec;
    std::memcpy(spec.path, path.data(), path.size());
    std::memcpy(spec.label, label.data(), label.size());
    return spec;
}

TEST(DroppedItems, RecordsCarryFssOrTheScriptingPartnersIdentifier) {
    DroppedItemList items;
    ASSERT_TRUE(items.reserve(3));
    EXPECT_TRUE(items.empty());
    // A label the file record brought along is no identifier.
    EXPECT_TRUE(items.add(specOf("C:\\a.tif", "stale"), ""));
    EXPECT_TRUE(items.add(specOf("C:\\b.tif"), "guid-7"));
    const std::string longIdentifier(300, 'x');
    EXPECT_TRUE(items.add(specOf("C:\\c.tif"), longIdentifier));
    EXPECT_FALSE(items.add(specOf("C:\\d.tif"), "")) << "a full list takes no more";
    ASSERT_EQ(items.size(), 3U);

    EXPECT_EQ(items[0].type, XT_FOURCC('f', 's', 's', ' '));
    EXPECT_STREQ(items[0].spec.path, "C:\\a.tif");
    EXPECT_STREQ(items[0].spec.label, "");
    EXPECT_EQ(items[1].type, XT_FOURCC('A', 'M', 'S', 'o'));
    EXPECT_STREQ(items[1].spec.label, "guid-7");
    EXPECT_EQ(items[1].spec.size, 1552);
    EXPECT_EQ(items[2].type, XT_DROPITEM_PARTNER);
    EXPECT_EQ(std::string(items[2].spec.label), longIdentifier.substr(0, sizeof items[2].spec.label - 1));

    // Moved, the records go along and the source is empty.
    DroppedItemList moved = std::move(items);
    EXPECT_EQ(moved.size(), 3U);
    EXPECT_STREQ(moved[1].spec.path, "C:\\b.tif");
    EXPECT_TRUE(items.empty());  // NOLINT(bugprone-use-after-move): what a move leaves is the point
    items = std::move(moved);
    EXPECT_EQ(items.size(), 3U);
    EXPECT_TRUE(moved.empty());  // NOLINT(bugprone-use-after-move)

    // A new reservation starts a new list.
    ASSERT_TRUE(items.reserve(0));
    EXPECT_TRUE(items.empty());
    EXPECT_FALSE(items.add(specOf("C:\\a.tif"), ""));
    EXPECT_EQ(sizeof(XTDroppedItem), 1556U);
}

TEST(DroppedItems, IdentifiersAreReadOneAfterTheOtherUpToAnEmptyOneOrTheEnd) {
    const std::string list = "id1\0id-two\0\0late\0"s;
    const struct {
        std::size_t size, index;
        std::string_view identifier;
    } cases[] = {
        {list.size(), 0, "id1"}, {list.size(), 1, "id-two"}, {list.size(), 2, ""}, {list.size(), 3, ""},
        {6, 1, "id"},            {3, 0, "id1"},              {0, 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(identifierAt(list.data(), c.size, c.index), c.identifier) << c.size << " " << c.index;
    }
    EXPECT_EQ(identifierAt(nullptr, 10, 0), "");
    const std::string emptyFirst = "\0b\0"s;
    EXPECT_EQ(identifierAt(emptyFirst.data(), emptyFirst.size(), 1), "");
}

}  // namespace
}  // namespace lumbrel
