// Layout files: lossless round trips of every field, the canonical form,
// bad documents (each refused whole, with the place and the reason), and
// the load time of a 100,000-box document.
#include "model/document_json.h"
#include "model/sample_document.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>

namespace hostsim {
namespace {

using lumbrel::test::readFile;
using lumbrel::test::TempDir;
using lumbrel::test::writeFile;
using Json = nlohmann::ordered_json;

std::string canonical(const Document& doc) {
    std::string text;
    std::string error;
    EXPECT_TRUE(documentToJson(doc, text, &error)) << error;
    return text;
}

Document reload(const std::string& text) {
    LoadResult loaded = parseDocument(text, "mem");
    EXPECT_TRUE(loaded.ok()) << loaded.error;
    return loaded.ok() ? std::move(*loaded.document) : Document{};
}

// A document that sets every field away from its default.
Document everyField() {
    Document doc = makeSampleDocument(SampleSpec{.masterSpreads = 2, .spreads = 3});
    doc.projectName = "Prospekt \u00dcbersicht";
    doc.path = "/work/docs/prospekt.json";
    doc.library = true;
    doc.unit = Unit::centimetres;
    doc.facingPages = true;
    doc.view = ViewState{131072, -12.5, 40.25};
    const BoxId text = doc.addBox(2, kBoxText, Rect{-10.5, 0.125, 20, 30}, 0);
    doc.setText(text, std::string("tab\tquote\" backslash\\ \u00e9 \xF0\x9F\x98\x80"));
    const BoxId picture = doc.addBox(2, kBoxPicture, Rect{1.0 / 3.0, 2, 3, 4});
    Picture pic;
    pic.path = "/pics/odd.bin";
    pic.fileType = 0x00FF1234;  // not printable: written as a number
    pic.colorSpace = kColorIndexed;
    pic.resolutionH = 299.9994;
    pic.resolutionV = 0.5;
    pic.pixelWidth = std::numeric_limits<std::uint32_t>::max();
    pic.pixelHeight = 1;
    pic.bounds = Rect{0, 0, 1e-9, 32767.5};
    pic.scaleH = -1.5;
    pic.scaleV = 1e-7;
    pic.offsetH = -32768;
    pic.offsetV = 0.1;
    pic.imported = FileStamp{-5, 0};
    doc.setPicture(picture, pic);
    doc.setSlug(picture, SlugKind::box, 0, "");
    doc.setSlug(picture, SlugKind::box, fourCC("TEXT"), "line\r\nnext");
    doc.setSlug(picture, SlugKind::picture, 0xFFFFFFFF, std::string("\xC3", 1));  // cut UTF-8: base64
    doc.setSlug(picture, SlugKind::picture, fourCC("bDIC"), std::string("a\0b", 3));
    const BoxId line = doc.addBox(-2, kBoxLine, Rect{5, 5, 5, 500}, 200);
    const BoxId inner = doc.groupBoxes({text, picture});
    const BoxId outer = doc.groupBoxes({inner, doc.chain(2)->at(2)});
    EXPECT_NE(outer, 0);
    doc.setCurrentPage(doc.numPages());
    doc.setShowMaster(2);
    doc.setCurrentBox(line);
    doc.setSelection({picture, line, outer});
    doc.markChanged();
    return doc;
}

TEST(DocumentJson, RoundTripKeepsEveryField) {
    const Document original = everyField();
    const std::string text = canonical(original);
    const Document loaded = reload(text);
    EXPECT_TRUE(loaded == original);
    EXPECT_EQ(canonical(loaded), text) << "saving a loaded document gives the same bytes";

    // Spot checks that the comparison above covers what it should.
    EXPECT_EQ(loaded.projectName, original.projectName);
    EXPECT_EQ(loaded.view.scale, 131072);
    EXPECT_EQ(loaded.showMaster(), 2);
    EXPECT_EQ(loaded.selection().size(), 3u);
    EXPECT_EQ(loaded.nextBoxId(), original.nextBoxId());
    const BoxId picture = loaded.selection()[0];
    ASSERT_TRUE(loaded.findBox(picture)->picture());
    EXPECT_EQ(loaded.findBox(picture)->picture()->fileType, 0x00FF1234u);
    EXPECT_EQ(*loaded.slug(picture, SlugKind::picture, fourCC("bDIC")), std::string("a\0b", 3));
    EXPECT_EQ(*loaded.slug(picture, SlugKind::picture, 0xFFFFFFFF), std::string("\xC3", 1));
    EXPECT_EQ(*loaded.slug(picture, SlugKind::box, 0), "");
    EXPECT_DOUBLE_EQ(loaded.findBox(picture)->bounds().top, 1.0 / 3.0);
}

TEST(DocumentJson, ChangesShowAfterRoundTrip) {
    const Document original = everyField();
    Document changed = original;
    const BoxId box = changed.selection()[0];
    changed.setSlug(box, SlugKind::picture, fourCC("bDIC"), std::string("a\0c", 3));
    EXPECT_FALSE(reload(canonical(changed)) == original);
    changed = original;
    changed.editPicture(box)->offsetV = 0.1 + 1e-15;
    changed.changeState = original.changeState;
    EXPECT_FALSE(reload(canonical(changed)) == original) << "doubles survive to the last bit";
}

TEST(DocumentJson, SampleSpreadsRoundTripThroughFiles) {
    TempDir dir;
    const Document original = makeSampleDocument(SampleSpec{.masterSpreads = 1, .spreads = 4, .facingPages = false});
    const std::string path = dir.file("layout.json");
    std::string error;
    ASSERT_TRUE(saveDocument(original, path, &error)) << error;
    EXPECT_EQ(readFile(path), canonical(original));
    EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
    LoadResult loaded = loadDocument(path);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    EXPECT_TRUE(*loaded.document == original);
    ASSERT_TRUE(saveDocument(*loaded.document, dir.file("again.json"), &error)) << error;
    EXPECT_EQ(readFile(dir.file("again.json")), readFile(path));

    const LoadResult missing = loadDocument(dir.file("none.json"));
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error, dir.file("none.json") + ": cannot open: No such file or directory");
    EXPECT_FALSE(saveDocument(original, dir.file("no/such/folder.json"), &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

TEST(DocumentJson, CanonicalFormOfASmallDocument) {
    Document doc;
    doc.projectName = "P";
    Spread spread;
    spread.width = 612;
    spread.height = 792;
    spread.pages.push_back(Page{"1", 0, 0, 0});
    doc.addSpread(spread);
    const BoxId box = doc.addBox(1, kBoxText, Rect{1, 2, 3.5, 4});
    doc.setSlug(box, SlugKind::box, fourCC("BDIC"), "name");
    doc.setSlug(box, SlugKind::picture, fourCC("bin!"), std::string("\x01\x02", 2));
    doc.markSaved();
    EXPECT_EQ(canonical(doc), R"({
  "format": "hostsim-layout",
  "version": 1,
  "projectName": "P",
  "path": "",
  "library": false,
  "unit": "points",
  "pageWidth": 612.0,
  "pageHeight": 792.0,
  "facingPages": false,
  "changeState": 0,
  "nextBoxId": 2,
  "currentPage": 0,
  "showMaster": 0,
  "currentBox": 0,
  "selection": [],
  "view": {"scale":65536,"originH":0.0,"originV":0.0},
  "masters": [],
  "spreads": [
    {
      "name": "",
      "width": 612.0,
      "height": 792.0,
      "pages": [
        {"name":"1","master":0,"left":0.0,"top":0.0}
      ],
      "boxes": [
        {"id":1,"kind":"text","bounds":[1.0,2.0,3.5,4.0],"boxSlugs":[{"key":"BDIC","text":"name"}],"pictureSlugs":[{"key":"bin!","base64":"AQI="}]}
      ]
    }
  ]
}
)");
}

TEST(DocumentJson, TextThatIsNotUtf8IsRefusedOnSave) {
    Document doc = everyField();
    doc.projectName = std::string("bad \xFF name");
    std::string text;
    std::string error;
    EXPECT_FALSE(documentToJson(doc, text, &error));
    EXPECT_EQ(error, "the project name is not valid UTF-8");
}

// ---- bad documents ----------------------------------------------------------------------

// A small valid document as a JSON tree, to be broken one field at a time:
// spread 0 holds boxes 1 (picture with a PDF), 2 (text), 3 (group of 1 and 2);
// spread 1 holds box 4.
Json smallDocument() {
    Document doc;
    Spread master;
    master.name = "A-Master";
    master.pages.push_back(Page{"A", 0, 0, 0});
    doc.addMasterSpread(master);
    for (int i = 0; i < 2; ++i) {
        Spread spread;
        spread.width = 1200;
        spread.height = 800;
        spread.pages.push_back(Page{std::to_string(i + 1), 1, 0, 0});
        doc.addSpread(spread);
    }
    const BoxId a = doc.addBox(1, kBoxPicture, Rect{0, 0, 10, 10});
    const BoxId b = doc.addBox(1, kBoxText, Rect{0, 0, 10, 10});
    Picture pic;
    pic.path = "/a.pdf";
    pic.fileType = kFilePDF;
    pic.bounds = Rect{0, 0, 10, 10};
    PdfInfo info;
    info.pages.resize(2);
    pic.pdf = info;
    doc.setPicture(a, pic);
    doc.setSlug(a, SlugKind::box, fourCC("BDIC"), "x");
    doc.groupBoxes({a, b});
    doc.addBox(2, kBoxLine, Rect{0, 0, 10, 10});
    doc.setCurrentPage(1);
    std::string text;
    EXPECT_TRUE(documentToJson(doc, text));
    return Json::parse(text);
}

struct BadCase {
    const char* name;
    std::function<void(Json&)> breakIt;
    const char* error;  // the whole message after "bad.json: "
};

TEST(DocumentJson, BadDocumentsAreRefusedWithPlaceAndReason) {
    ASSERT_TRUE(parseDocument(smallDocument().dump(), "ok").ok()) << parseDocument(smallDocument().dump(), "ok").error;
    const BadCase cases[] = {
        {"format", [](Json& j) { j["format"] = "other"; },
         "/format: not a layout document (format must be \"hostsim-layout\")"},
        {"no format", [](Json& j) { j.erase("format"); }, "/: missing field \"format\""},
        {"version", [](Json& j) { j["version"] = 2; },
         "/version: version 2 is not supported (this host reads version 1)"},
        {"not an object", [](Json& j) { j = Json::array(); }, "/: expected an object, found array"},
        {"unknown field", [](Json& j) { j["spreads"][0]["boxes"][0]["colour"] = 1; },
         "/spreads/0/boxes/0/colour: unknown field \"colour\""},
        {"missing bounds", [](Json& j) { j["spreads"][0]["boxes"][1].erase("bounds"); },
         "/spreads/0/boxes/1: missing field \"bounds\""},
        {"unknown kind", [](Json& j) { j["spreads"][0]["boxes"][1]["kind"] = "oval"; },
         "/spreads/0/boxes/1/kind: unknown box kind \"oval\" (text, picture, line or group)"},
        {"duplicate id", [](Json& j) { j["spreads"][1]["boxes"][0]["id"] = 2; },
         "/spreads/1/boxes/0/id: box id 2 is used twice (first at /spreads/0/boxes/1)"},
        {"id 0", [](Json& j) { j["spreads"][1]["boxes"][0]["id"] = 0; },
         "/spreads/1/boxes/0/id: box id 0 is not allowed (0 ends every box chain)"},
        {"id too large", [](Json& j) { j["spreads"][1]["boxes"][0]["id"] = 2147483648LL; },
         "/spreads/1/boxes/0/id: number 2147483648 is out of range (-2147483648 to 2147483647)"},
        {"id fraction", [](Json& j) { j["spreads"][1]["boxes"][0]["id"] = 4.5; },
         "/spreads/1/boxes/0/id: expected a whole number, found a fraction"},
        {"id text", [](Json& j) { j["spreads"][1]["boxes"][0]["id"] = "4"; },
         "/spreads/1/boxes/0/id: expected a whole number, found string"},
        {"member missing", [](Json& j) { j["spreads"][0]["boxes"][2]["members"][1] = 99; },
         "/spreads/0/boxes/2/members/1: group member 99 does not exist"},
        {"member elsewhere", [](Json& j) { j["spreads"][0]["boxes"][2]["members"][1] = 4; },
         "/spreads/0/boxes/2/members/1: group member 4 lies on another spread (/spreads/1/boxes/0)"},
        {"member twice", [](Json& j) {
             Json group = j["spreads"][0]["boxes"][2];
             group["id"] = 7;
             j["spreads"][0]["boxes"].push_back(group);
             j["nextBoxId"] = 8;
         },
         "/spreads/0/boxes/3/members/0: box 1 is a member of groups 3 and 7"},
        {"group in itself", [](Json& j) { j["spreads"][0]["boxes"][2]["members"][1] = 3; },
         "/spreads/0/boxes/2/members/1: a group cannot contain itself"},
        {"group cycle", [](Json& j) {
             Json group = j["spreads"][0]["boxes"][2];
             group["id"] = 7;
             group["members"] = Json::array({3});
             j["spreads"][0]["boxes"][2]["members"] = Json::array({1, 2, 7});
             j["spreads"][0]["boxes"].push_back(group);
             j["nextBoxId"] = 8;
         },
         "/spreads/0/boxes/2: group 3 contains itself through its members"},
        {"empty group", [](Json& j) { j["spreads"][0]["boxes"][2]["members"] = Json::array(); },
         "/spreads/0/boxes/2/members: a group has at least one member"},
        {"members on a picture box", [](Json& j) { j["spreads"][0]["boxes"][0]["members"] = Json::array({2}); },
         "/spreads/0/boxes/0/members: only group boxes have members, not a picture box"},
        {"picture on a text box", [](Json& j) { j["spreads"][0]["boxes"][1]["picture"] = j["spreads"][0]["boxes"][0]["picture"]; },
         "/spreads/0/boxes/1/picture: only picture boxes hold pictures, not a text box"},
        {"text on a line", [](Json& j) { j["spreads"][1]["boxes"][0]["text"] = "x"; },
         "/spreads/1/boxes/0/text: only text boxes hold text, not a line box"},
        {"bounds out of range", [](Json& j) { j["spreads"][0]["boxes"][1]["bounds"][3] = 40000.0; },
         "/spreads/0/boxes/1/bounds/3: number 40000 is out of range (-32768 to 32767.999984741211)"},
        {"bounds upside down", [](Json& j) { j["spreads"][0]["boxes"][1]["bounds"][0] = 20.0; },
         "/spreads/0/boxes/1/bounds: top must not lie below bottom, nor left right of right"},
        {"bounds short", [](Json& j) { j["spreads"][0]["boxes"][1]["bounds"].erase(3); },
         "/spreads/0/boxes/1/bounds: expected 4 numbers, found 3"},
        {"shape", [](Json& j) { j["spreads"][0]["boxes"][1]["shape"] = 256; },
         "/spreads/0/boxes/1/shape: number 256 is out of range (0 to 255)"},
        {"next id", [](Json& j) { j["nextBoxId"] = 4; },
         "/nextBoxId: must be above every box id (the highest is 4)"},
        {"current page", [](Json& j) { j["currentPage"] = 3; },
         "/currentPage: number 3 is out of range (0 to 2)"},
        {"current box", [](Json& j) { j["currentBox"] = 9; }, "/currentBox: box 9 does not exist"},
        {"selection twice", [](Json& j) { j["selection"] = Json::array({1, 1}); },
         "/selection/1: box 1 is selected twice"},
        {"show master", [](Json& j) { j["showMaster"] = 2; }, "/showMaster: number 2 is out of range (0 to 1)"},
        {"change state", [](Json& j) { j["changeState"] = 4; }, "/changeState: number 4 is out of range (0 to 3)"},
        {"unit", [](Json& j) { j["unit"] = "furlongs"; }, "/unit: unknown measurement unit \"furlongs\""},
        {"page width", [](Json& j) { j["pageWidth"] = 0; }, "/pageWidth: the page width must be above 0"},
        {"view scale", [](Json& j) { j["view"]["scale"] = 0; },
         "/view/scale: number 0 is out of range (1 to 2147483647)"},
        {"page master", [](Json& j) { j["spreads"][1]["pages"][0]["master"] = 2; },
         "/spreads/1/pages/0/master: number 2 is out of range (0 to 1)"},
        {"master on a master", [](Json& j) { j["masters"][0]["pages"][0]["master"] = 1; },
         "/masters/0/pages/0/master: number 1 is out of range (0 to 0)"},
        {"resolution", [](Json& j) { j["spreads"][0]["boxes"][0]["picture"]["resolution"][1] = 0.0; },
         "/spreads/0/boxes/0/picture/resolution/1: a resolution must be above 0"},
        {"pdf page", [](Json& j) { j["spreads"][0]["boxes"][0]["picture"]["pdf"]["page"] = 3; },
         "/spreads/0/boxes/0/picture/pdf/page: number 3 is out of range (1 to 2)"},
        {"pdf box", [](Json& j) { j["spreads"][0]["boxes"][0]["picture"]["pdf"]["pageBox"] = "bounding"; },
         "/spreads/0/boxes/0/picture/pdf/pageBox: unknown page box \"bounding\" (media, crop, bleed, trim or art)"},
        {"pdf rotate", [](Json& j) { j["spreads"][0]["boxes"][0]["picture"]["pdf"]["pages"][1]["rotate"] = 45; },
         "/spreads/0/boxes/0/picture/pdf/pages/1/rotate: rotation must be 0, 90, 180 or 270"},
        {"pdf rect", [](Json& j) { j["spreads"][0]["boxes"][0]["picture"]["pdf"]["pages"][0]["trim"][0] = 5.0; },
         "/spreads/0/boxes/0/picture/pdf/pages/0/trim: lower-left corner must lie below and left of the upper-right"},
        {"code", [](Json& j) { j["spreads"][0]["boxes"][0]["picture"]["colorSpace"] = "RGB"; },
         "/spreads/0/boxes/0/picture/colorSpace: a four-character code needs exactly four printable ASCII characters"},
        {"slug base64", [](Json& j) {
             j["spreads"][0]["boxes"][0]["boxSlugs"][0].erase("text");
             j["spreads"][0]["boxes"][0]["boxSlugs"][0]["base64"] = "AQJ=";
         },
         "/spreads/0/boxes/0/boxSlugs/0/base64: not valid base64"},
        {"slug both", [](Json& j) { j["spreads"][0]["boxes"][0]["boxSlugs"][0]["base64"] = "AA=="; },
         "/spreads/0/boxes/0/boxSlugs/0: a slug needs exactly one of \"text\" and \"base64\""},
        {"slug twice", [](Json& j) {
             auto& list = j["spreads"][0]["boxes"][0]["boxSlugs"];
             list.push_back(list[0]);
         },
         "/spreads/0/boxes/0/boxSlugs/1/key: slug key \"BDIC\" appears twice"},
        {"key with slash", [](Json& j) { j["view"]["a/b~c"] = 1; }, "/view/a~1b~0c: unknown field \"a/b~c\""},
        {"box is a number", [](Json& j) { j["spreads"][0]["boxes"][1] = 5; },
         "/spreads/0/boxes/1: expected an object, found number"},
        {"box is an array", [](Json& j) { j["spreads"][0]["boxes"][1] = Json::array({1}); },
         "/spreads/0/boxes/1: expected an object, found array"},
        {"boxes not a list", [](Json& j) { j["spreads"][1]["boxes"] = Json::object(); },
         "/spreads/1/boxes: expected an array, found object"},
        {"id across lists", [](Json& j) {
             j["masters"][0]["boxes"].push_back(j["spreads"][1]["boxes"][0]);
         },
         "/spreads/1/boxes/0/id: box id 4 is used twice (first at /masters/0/boxes/0)"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Json doc = smallDocument();
        c.breakIt(doc);
        const LoadResult result = parseDocument(doc.dump(2), "bad.json");
        EXPECT_FALSE(result.document.has_value());
        EXPECT_EQ(result.error, std::string("bad.json: ") + c.error);
    }
}

TEST(DocumentJson, FieldOrderDoesNotMatter) {
    const Json canonicalTree = smallDocument();
    const Document expected = reload(canonicalTree.dump());
    // Spreads (with their boxes) before "format" and "version": the boxes are
    // read only once the file is known to be a layout document.
    Json reordered = Json::object();
    for (auto it = canonicalTree.rbegin(); it != canonicalTree.rend(); ++it) reordered[it.key()] = it.value();
    ASSERT_EQ(reordered.begin().key(), "spreads");
    const Document loaded = reload(reordered.dump());
    EXPECT_TRUE(loaded == expected);
    EXPECT_EQ(canonical(loaded), canonical(expected));

    // So a file of another kind is named as such even when its boxes come first.
    reordered["format"] = "something-else";
    reordered["spreads"][0]["boxes"][0]["kind"] = "oval";
    EXPECT_EQ(parseDocument(reordered.dump(), "x.json").error,
              "x.json: /format: not a layout document (format must be \"hostsim-layout\")");
}

TEST(DocumentJson, BoxesFieldTwiceIsRefused) {
    std::string text = smallDocument().dump();
    const std::size_t pages = text.find("\"pages\":[{\"name\":\"1\"");
    ASSERT_NE(pages, std::string::npos);
    text.insert(pages, "\"boxes\":[],");
    EXPECT_EQ(parseDocument(text, "b.json").error, "b.json: /spreads/0/boxes: field \"boxes\" appears twice");
}

TEST(DocumentJson, BrokenTextIsRefused) {
    const std::string good = smallDocument().dump(2);
    const LoadResult truncated = parseDocument(good.substr(0, good.size() / 2), "cut.json");
    EXPECT_FALSE(truncated.ok());
    EXPECT_EQ(truncated.error.rfind("cut.json: not valid JSON (parse error at line ", 0), 0u) << truncated.error;

    const LoadResult empty = parseDocument("", "empty.json");
    EXPECT_EQ(empty.error, "empty.json: the file is empty");
    const LoadResult overflow = parseDocument(R"({"format": 1e999})", "big.json");
    EXPECT_FALSE(overflow.ok());
    EXPECT_NE(overflow.error.find("big.json: "), std::string::npos);
    const LoadResult badUtf8 = parseDocument("{\"format\": \"\xFF\"}", "utf.json");
    EXPECT_FALSE(badUtf8.ok());
    EXPECT_NE(badUtf8.error.find("not valid JSON"), std::string::npos) << badUtf8.error;

    // Deep nesting where a document is expected.
    std::string deep(100000, '[');
    deep += std::string(100000, ']');
    EXPECT_EQ(parseDocument(deep, "deep.json").error, "deep.json: /: expected an object, found array");
}

TEST(DocumentJson, HundredThousandBoxesLoadFast) {
    TempDir dir;
    const SampleSpec spec{.masterSpreads = 0, .spreads = 100, .boxesPerSpread = 1000, .groups = false};
    const Document original = makeSampleDocument(spec);
    ASSERT_EQ(original.boxCount(), 100000u);
    const std::string path = dir.file("big.json");

    const auto t0 = std::chrono::steady_clock::now();
    std::string error;
    ASSERT_TRUE(saveDocument(original, path, &error)) << error;
    const auto t1 = std::chrono::steady_clock::now();
    LoadResult loaded = loadDocument(path);
    const auto t2 = std::chrono::steady_clock::now();
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    EXPECT_EQ(loaded.document->boxCount(), 100000u);
    EXPECT_TRUE(*loaded.document == original);

    using ms = std::chrono::duration<double, std::milli>;
    std::printf("[ timing   ] 100,000 boxes, %.1f MB: save %.0f ms, load %.0f ms\n",
                static_cast<double>(readFile(path).size()) / 1e6, ms(t1 - t0).count(), ms(t2 - t1).count());

    // The same document with one bad box at the very end is refused whole.
    std::string text = readFile(path);
    const std::size_t lastKind = text.rfind("\"kind\":\"");
    ASSERT_NE(lastKind, std::string::npos);
    text.replace(lastKind, 8, "\"kind\":\"x");
    const LoadResult bad = parseDocument(text, "big.json");
    EXPECT_FALSE(bad.ok());
    EXPECT_NE(bad.error.find("/spreads/99/boxes/999/kind: unknown box kind"), std::string::npos) << bad.error;
}

}  // namespace
}  // namespace hostsim
