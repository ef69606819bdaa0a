#include "settings/localised_strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_traits.h"
#include "settings/resources.h"
#include "support/test_support.h"

namespace lumbrel {
namespace {

using test::readFile;
using test::sourcePath;
using test::TempDir;
using test::writeFile;

struct Entry {
    const char* key;
    const char* english;
    const char* german;  // null: not in the German table
};

// The tables as they ship, in their order.
const Entry kTable[] = {
    {"yes", "Yes", "Ja"},
    {"no", "No", "Nein"},
    {"ok", "OK", "OK"},
    {"cancel", "Cancel", "Abbrechen"},
    {"nomem", "Not enough memory!", nullptr},
    {"kAdjustFrame", "Fit Box to Picture", "Rahmen an Bild anpassen"},
    {"kShowPath", "Show Image Names", "Bildnamen zeigen"},
    {"kImageList", "Image List\xE2\x80\xA6", "Bilderliste erstellen\xE2\x80\xA6"},
    {"kPageStr", "Page %s:\r\n\r\n", "Seite %s:\r\n\r\n"},
    {"swap", "Swap images\xE2\x80\xA6", "Bilder austauschen\xE2\x80\xA6"},
    {"kBitmap", "Bitmap", "Bitmap"},
    {"kGrayScale", "Grayscale", "Grayscale"},
    {"kRGB", "RGB", "RGB"},
    {"kCMYK", "CMYK", "CMYK"},
    {"kLAB", "LAB", "LAB"},
    {"kCMYKImg", "The following image is no CMYK-image!", "Das folgende Bild ist kein CMYK-Bild:"},
    {"kICCProf", "The following EPS-image contains a ICC profile", "Das folgende Bild enth\xC3\xA4lt ein ICC-Profil:"},
    {"kJPGImg", "The following image is a JPEG-image!", "Das folgende Bild ist ein JPEG-Bild:"},
    {"kImgPath", "Images", "Bilder"},
    {"kSaveWarn", "Doc has not been saved!", "Das Dokument wurde noch nicht gesichert!"},
    {"kNotCompatible", "This version of Lumbrel is not compatible with this version of QuarkXPress!",
     "Diese Version von Lumbrel ist mit dieser Version von QuarkXPress nicht kompatibel!"},
    {"kOpenWith", "Could not open the image list file! Eventually the file is open in another application.",
     "Fehler beim \xC3\x96" "ffnen der Bilderliste! Eventuell ist die Datei in einer anderen Anwendung "
     "ge\xC3\xB6" "ffnet."},
    {"kOverwrite", "%s already exists. Overwrite?", "%s existiert bereits. \xC3\x9C" "berschreiben?"},
    {"kOpenHiRes", "Open HiRes\xE2\x80\xA6", "HiRes \xC3\xB6" "ffnen\xE2\x80\xA6"},
    {"kReplace", "Replace image", "Bild austauschen"},
    {"hiToLo1", "1 HiRes-image has been replaced by Lores.", "1 HiRes-Bild wurde durch LoRes ersetzt."},
    {"hiToLoN", "%d HiRes-images have been replaced by Lores.", "%d HiRes-Bilder wurden durch LoRes ersetzt."},
    {"loToHi1", "1 of %d LoRes-image(s) has been replaced by HiRes.",
     "1 von %d LoRes-Bilder(n) wurde durch HiRes ersetzt."},
    {"loToHiN", "%d of %d LoRes-image(s) have been replaced by HiRes.",
     "%d von %d LoRes-Bilder(n) wurden durch HiRes ersetzt."},
    {"kAutoSwap", "Replace HiRes images by LoRes?", "LoRes-Bilder durch HiRes-Bilder ersetzen?"},
    {"kPrintLabel", "Do you want to print the image names?", "Sollen die Bildnamen mitgedruckt werden?"},
    {"imgMissing", "Image file not found!", "Bilddatei nicht gefunden!"},
    {"imgListTitle", "Create image list", "Bilderliste erstellen"},
    {"statusMiss", "Missing", "Fehlt"},
    {"statusMod", "Modified", "Modifiziert"},
    {"addNamesToPS", "Print image names?", "Bildnamen mitdrucken?"},
    {"keyDefaultApp", "Default application", "Standardprogramm"},
    {"keyChooseApp", "Choose application", "Programm w\xC3\xA4hlen"},
    {"dropFolder", "Synchronize all pictures with folder content?", "Alle Bilder mit diesem Ordner abgleichen?"},
    {"fileNotFound", "File not found!", "Datei nicht gefunden!"},
    {"rename", "Rename picture file", "Bilddatei umbenennen"},
    {"swapDlg", "Swap images", "Bilder austauschen"},
    {"fileExts", "File extensions (e.g. \".tif;.eps\")", "Dateierweiterungen (z.B. \".tif;.eps\")"},
    {"search", "Search in", "Suchen im"},
    {"sameFolder", "same folder", "gleichen Ordner"},
    {"layoutsFolder", "folder \"layouts\"", "Ordner \"layouts\""},
    {"selOnly", "Selected objects only", "Nur ausgew\xC3\xA4hlte Objekte"},
    {"pdfNoPages", "PDF pages cannot be chosen in this host.",
     "PDF-Seiten k\xC3\xB6nnen in diesem Programm nicht gew\xC3\xA4hlt werden."},
};

const char kHead[] = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

std::string tablePath(const char* suffix) {
    return sourcePath(std::string("resources/MyStrings") + suffix + ".xml");
}

// The keys of a table file in their order: every line that opens an element.
std::vector<std::string> keysOf(const std::string& file) {
    std::vector<std::string> keys;
    std::size_t at = 0;
    while (at < file.size()) {
        std::size_t end = file.find("\r\n", at);
        if (end == std::string::npos) end = file.size();
        const std::string line = file.substr(at, end - at);
        if (line.size() > 1 && line[0] == '<' && line[1] != '/' && line[1] != '?') {
            keys.push_back(line.substr(1, line.find('>') - 1));
        }
        at = end + 2;
    }
    return keys;
}

std::string lookup(const char* key) {
    char out[kShortTextSize];
    std::memset(out, '#', sizeof out);
    getString(key, out);
    return out;
}

class LocalisedStrings : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = getResourceFolder();
        savedLanguage_ = getLanguage();
        cleanupMyStrings();
        clearMsgs();
    }
    void TearDown() override {
        cleanupMyStrings();
        clearMsgs();
        setResourceFolder(savedFolder_.c_str());
        setLanguage(savedLanguage_);
    }

    // The shipped tables where the build keeps them: the resource folder, or
    // the module's own resources (this program holds them as the DLL does).
    static void loadShipped(std::int16_t language) {
        setResourceFolder(platform::Traits::kResourcesInModule ? "" : sourcePath("resources").c_str());
        setLanguage(language);
        ASSERT_EQ(setupMyStrings(), 0);
        ASSERT_TRUE(hasStringTable());
    }

    // A table of our own as the only English resource.
    void loadOwn(const std::string& elements) {
        writeFile(dir_.file("MyStrings_E.xml"), std::string(kHead) + elements);
        setResourceFolder(dir_.text().c_str());
        setLanguage(kLangEnglish);
        ASSERT_EQ(setupMyStrings(), 0);
    }

    TempDir dir_;
    std::string savedFolder_;
    std::int16_t savedLanguage_ = kLangEnglish;
};

TEST_F(LocalisedStrings, ShippedFilesAreUtf8WithCrLfLines) {
    for (const char* suffix : {"_E", "_D"}) {
        SCOPED_TRACE(suffix);
        const std::string file = readFile(tablePath(suffix));
        ASSERT_GT(file.size(), sizeof kHead);
        EXPECT_EQ(file.substr(0, sizeof kHead - 1), kHead);
        EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
        for (std::size_t i = 0; i < file.size(); ++i) {
            if (file[i] == '\r') {
                EXPECT_EQ(file[i + 1], '\n') << "CR alone at " << i;
            }
            if (file[i] == '\n') {
                EXPECT_TRUE(i > 0 && file[i - 1] == '\r') << "LF alone at " << i;
            }
        }
    }
}

TEST_F(LocalisedStrings, ShippedFilesHoldTheTableLineByLine) {
    std::string english = kHead;
    std::string german = kHead;
    for (const Entry& e : kTable) {
        english += std::string("<") + e.key + ">" + e.english + "</" + e.key + ">\r\n";
        if (e.german != nullptr) german += std::string("<") + e.key + ">" + e.german + "</" + e.key + ">\r\n";
    }
    EXPECT_EQ(readFile(tablePath("_E")), english);
    EXPECT_EQ(readFile(tablePath("_D")), german);
}

TEST_F(LocalisedStrings, TablesHaveTheSameKeysButNomem) {
    std::vector<std::string> english = keysOf(readFile(tablePath("_E")));
    const std::vector<std::string> german = keysOf(readFile(tablePath("_D")));
    EXPECT_EQ(english.size(), std::size(kTable));
    EXPECT_EQ(std::set<std::string>(english.begin(), english.end()).size(), english.size()) << "a key twice";
    std::erase(english, "nomem");
    EXPECT_EQ(english, german);
}

TEST_F(LocalisedStrings, EveryEnglishKey) {
    loadShipped(kLangEnglish);
    for (const Entry& e : kTable) {
        EXPECT_EQ(lookup(e.key), e.english) << e.key;
        std::string text;
        EXPECT_TRUE(lookupString(e.key, text)) << e.key;
        EXPECT_EQ(text, e.english);
    }
}

TEST_F(LocalisedStrings, EveryGermanKey) {
    loadShipped(kLangGerman);
    for (const Entry& e : kTable) {
        if (e.german != nullptr) {
            EXPECT_EQ(lookup(e.key), e.german) << e.key;
        }
    }
    EXPECT_EQ(lookup("nomem"), "nomem");
    std::string text = "unchanged";
    EXPECT_FALSE(lookupString("nomem", text));
    EXPECT_EQ(text, "unchanged");
}

TEST_F(LocalisedStrings, KeysMatchWithoutRegardToCase) {
    loadShipped(kLangGerman);
    EXPECT_EQ(lookup("YES"), "Ja");
    EXPECT_EQ(lookup("Cancel"), "Abbrechen");
    EXPECT_EQ(lookup("KSHOWPATH"), "Bildnamen zeigen");
    std::string text;
    EXPECT_TRUE(lookupString("OK", text));  // the element is "ok"
    EXPECT_EQ(text, "OK");
}

TEST_F(LocalisedStrings, PageHeadingEndsWithTwoLineBreaks) {
    loadShipped(kLangEnglish);
    const std::string page = lookup("kPageStr");
    ASSERT_GE(page.size(), 4u);
    EXPECT_EQ(page.substr(page.size() - 4), "\r\n\r\n");
    EXPECT_EQ(page.substr(0, 8), "Page %s:");
}

TEST_F(LocalisedStrings, GermanFallsBackToTheEnglishTable) {
    writeFile(dir_.file("MyStrings_E.xml"), std::string(kHead) + "<yes>Yes</yes>\r\n");
    setResourceFolder(dir_.text().c_str());
    setupLanguages(19);
    ASSERT_EQ(setupMyStrings(), 0);
    EXPECT_EQ(lookup("yes"), "Yes");
}

TEST_F(LocalisedStrings, SetupReplacesTheTable) {
    loadShipped(kLangEnglish);
    EXPECT_EQ(lookup("no"), "No");
    setupLanguages(3);
    ASSERT_EQ(setupMyStrings(), 0);
    EXPECT_EQ(lookup("no"), "Nein");
    cleanupMyStrings();
    EXPECT_FALSE(hasStringTable());
    EXPECT_EQ(lookup("no"), "no");
}

TEST_F(LocalisedStrings, WithoutATableKeysStandForThemselves) {
    setResourceFolder(dir_.text().c_str());
    EXPECT_EQ(setupMyStrings(), -1);
    EXPECT_FALSE(hasStringTable());
    EXPECT_EQ(lookup("kSaveWarn"), "kSaveWarn");
    std::string text;
    EXPECT_FALSE(lookupString("kSaveWarn", text));
    EXPECT_EQ(lookup(""), "");
    EXPECT_EQ(lookup(nullptr), "");
}

TEST_F(LocalisedStrings, EmptyTextShowsTheKeyButLooksUpEmpty) {
    loadOwn("<blank></blank>\r\n");
    EXPECT_EQ(lookup("blank"), "blank");
    std::string text = "unchanged";
    EXPECT_TRUE(lookupString("blank", text));
    EXPECT_EQ(text, "");
}

TEST_F(LocalisedStrings, LongTextsAreCutToTheBuffer) {
    const std::string ascii(300, 'a');
    std::string accented;
    for (int i = 0; i < 150; ++i) accented += "\xC3\xA9";  // 300 bytes
    loadOwn("<ascii>" + ascii + "</ascii>\r\n<accented>" + accented + "</accented>\r\n");

    char out[kShortTextSize + 8];
    std::memset(out, '#', sizeof out);
    getString("ascii", out, kShortTextSize);
    EXPECT_EQ(std::string(out), ascii.substr(0, 255));
    for (std::size_t i = kShortTextSize; i < sizeof out; ++i) EXPECT_EQ(out[i], '#');
    // 255 bytes would split a two-byte character: the cut falls before it.
    EXPECT_EQ(lookup("accented"), accented.substr(0, 254));
    char small[6];
    getString("accented", small);
    EXPECT_STREQ(small, "\xC3\xA9\xC3\xA9");
    getString("ascii", small);
    EXPECT_STREQ(small, "aaaaa");
    std::string text;
    EXPECT_TRUE(lookupString("ascii", text));
    EXPECT_EQ(text, ascii);  // the string form is not cut
}

TEST_F(LocalisedStrings, MacRomanPascalStrings) {
    loadShipped(kLangEnglish);
    unsigned char out[256];
    getString("kImageList", out);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 12), "\x0BImage List\xC9");
    getString("noSuchKey", out);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 10), "\x09noSuchKey");

    setupLanguages(3);
    ASSERT_EQ(setupMyStrings(), 0);
    getString("keyChooseApp", out);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 16), "\x0FProgramm w\x8Ahlen");

    std::memset(out, 0x55, sizeof out);
    getString("", out);
    getString(static_cast<const char*>(nullptr), out);
    for (const unsigned char byte : out) EXPECT_EQ(byte, 0x55);
}

TEST_F(LocalisedStrings, FormattedMessages) {
    loadShipped(kLangEnglish);
    setMsg1("kOverwrite", "List.txt");
    setMsg2("loToHiN", 2, 5);
    EXPECT_STREQ(getMsg1(), "List.txt already exists. Overwrite?");
    EXPECT_STREQ(getMsg2(), "2 of 5 LoRes-image(s) have been replaced by HiRes.");
    clearMsgs();
    EXPECT_STREQ(getMsg1(), "");
    EXPECT_STREQ(getMsg2(), "");

    setupLanguages(3);
    ASSERT_EQ(setupMyStrings(), 0);
    setMsg2("hiToLoN", 7);
    EXPECT_STREQ(getMsg2(), "7 HiRes-Bilder wurden durch LoRes ersetzt.");
    setMsg1("imgMissing");
    EXPECT_STREQ(getMsg1(), "Bilddatei nicht gefunden!");
}

TEST_F(LocalisedStrings, MessagesAreCutAt511Bytes) {
    loadShipped(kLangEnglish);
    const std::string name(600, 'n');
    setMsg1("kOverwrite", name.c_str());
    EXPECT_EQ(std::string(getMsg1()), (name + " already exists. Overwrite?").substr(0, kMessageSize - 1));
    // A missing key is its own format.
    setMsg2("%s and %d", "this", 3);
    EXPECT_STREQ(getMsg2(), "this and 3");
}

}  // namespace
}  // namespace lumbrel
