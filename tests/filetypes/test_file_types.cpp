#include <gtest/gtest.h>

#include <string>

#include "filetypes/file_types.h"
#include "support/test_support.h"

namespace lumbrel {
namespace {

TEST(TypeCodes, FirstCharacterInTheHighByte) {
    EXPECT_EQ(kTypeTIFF, 0x54494646u);
    EXPECT_EQ(kTypePDF, 0x50444620u);
    EXPECT_EQ(kTypeGIF, 0x47494666u);
    EXPECT_EQ(kTypePSD, 0x38425053u);
}

TEST(GetFileType, EveryExtensionOfTheTable) {
    const struct {
        const char* name;
        FileTypeCode type;
    } rows[] = {
        {"a.tif", kTypeTIFF}, {"a.tiff", kTypeTIFF}, {"a.eps", kTypeEPSF}, {"a.pdf", kTypePDF},
        {"a.jpg", kTypeJPEG}, {"a.jpeg", kTypeJPEG}, {"a.qip", kTypeZIP},  {"a.zip", kTypeZIP},
        {"a.txt", kTypeTEXT}, {"a.otf", kTypeOTTO},  {"a.gif", kTypeGIF},  {"a.psd", kTypePSD},
    };
    for (const auto& row : rows) EXPECT_EQ(getFileType(row.name), row.type) << row.name;
}

TEST(GetFileType, CaseDoesNotMatter) {
    EXPECT_EQ(getFileType("/x/A.TIF"), kTypeTIFF);
    EXPECT_EQ(getFileType("/x/a.Tiff"), kTypeTIFF);
    EXPECT_EQ(getFileType("/x/PHOTO.JPEG"), kTypeJPEG);
    EXPECT_EQ(getFileType("Disk:Images:cover.Pdf"), kTypePDF);
}

TEST(GetFileType, UnknownExtensionsAnswerNoType) {
    EXPECT_EQ(getFileType("/x/a.tif.bak"), kTypeNone);
    EXPECT_EQ(getFileType("/x/a.png"), kTypeNone);
    EXPECT_EQ(getFileType("/x/atif"), kTypeNone);  // no dot
    EXPECT_EQ(getFileType("/x/readme"), kTypeNone);
}

TEST(GetFileType, ShortNamesAnswerNoType) {
    EXPECT_EQ(getFileType("/x/tif"), kTypeNone);
    EXPECT_EQ(getFileType("/x/if"), kTypeNone);
    EXPECT_EQ(getFileType("/x/f"), kTypeNone);
    EXPECT_EQ(getFileType("/x/.tif"), kTypeTIFF);  // the extension alone is long enough
    EXPECT_EQ(getFileType(""), kTypeNone);
    EXPECT_EQ(getFileType(nullptr), kTypeNone);
}

TEST(GetFileType, OnlyTheNameCounts) {
    EXPECT_EQ(getFileType("/x/images.tif/readme"), kTypeNone);
    EXPECT_EQ(getFileType("Disk:images.tif:readme"), kTypeNone);
    EXPECT_EQ(getFileType("/x/"), kTypeNone);
    EXPECT_EQ(getFileType("/Disk:images:a.eps"), kTypeEPSF);  // POSIX name with colons
}

TEST(GetFileType, NameIsCutTo63CharactersFirst) {
    const std::string stem63 = std::string(59, 'n');  // 59 + ".tif" = 63
    EXPECT_EQ(getFileType(("/x/" + stem63 + ".tif").c_str()), kTypeTIFF);
    EXPECT_EQ(getFileType(("/x/" + stem63 + "n.tif").c_str()), kTypeNone);        // 64: ".ti" is left
    EXPECT_EQ(getFileType(("/x/" + std::string(66, 'n') + ".tif").c_str()), kTypeNone);  // 70
    // The cut can bring an earlier extension to the end.
    EXPECT_EQ(getFileType(("/x/" + stem63 + ".tif.bak").c_str()), kTypeTIFF);
}

TEST(GetFileType, TheCutCountsCharactersNotBytes) {
    const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA9";  // 5 characters, 10 bytes
    const std::string euro = "\xE2\x82\xAC";                                  // 1 character, 3 bytes
    const std::string photo = "\xF0\x9F\x93\xB7";                            // 1 character, 4 bytes
    const struct {
        std::string name;
        FileTypeCode type;
    } rows[] = {
        {umlauts + std::string(53, 'n') + ".jpg", kTypeJPEG},        // 62 characters, 67 bytes
        {umlauts + std::string(54, 'n') + ".jpg", kTypeJPEG},        // 63
        {umlauts + std::string(55, 'n') + ".jpg", kTypeNone},        // 64: ".jp" is left
        {euro + photo + std::string(57, 'n') + ".tif", kTypeTIFF},   // 63 characters, 68 bytes
        {std::string(59, 'n') + euro + ".tif", kTypeNone},           // 64
        {umlauts + std::string(54, 'n') + ".eps.bak", kTypeEPSF},    // the cut shows ".eps"
        {"\xFF\xFE" + std::string(57, 'n') + ".tif", kTypeTIFF},     // bytes that are no UTF-8 count one each
        {"\xFF\xFE" + std::string(58, 'n') + ".tif", kTypeNone},
        {"\xC3" + std::string(58, 'n') + ".tif", kTypeTIFF},         // a cut-off sequence is one character
    };
    for (const auto& row : rows) {
        EXPECT_EQ(getFileType(("/x/" + row.name).c_str()), row.type) << row.name;
        EXPECT_EQ(getFileType((test::otherPathForm("Disk:x:") + row.name).c_str()), row.type) << row.name;
    }
}

}  // namespace
}  // namespace lumbrel
