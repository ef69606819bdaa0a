#include <string>

#include <gtest/gtest.h>

#include "desktop/file_url.h"

namespace lumbrel::test {
namespace {

using desktop::fileUrlFromPath;
using desktop::pathFromFileUrl;

std::string urlOf(std::string_view path, bool folder = false) {
    std::string url;
    EXPECT_TRUE(fileUrlFromPath(path, url, folder)) << path;
    return url;
}

std::string pathOf(std::string_view url) {
    std::string path = "<unchanged>";
    pathFromFileUrl(url, path);
    return path;
}

TEST(FileUrl, EncodesEveryByteOutsideUnreservedAndSlash) {
    EXPECT_EQ(urlOf("/Users/me/a-b_c.d~e/Z9.tif"), "file:///Users/me/a-b_c.d~e/Z9.tif");
    EXPECT_EQ(urlOf("/My Pictures/100%.tif"), "file:///My%20Pictures/100%25.tif");
    EXPECT_EQ(urlOf("/a?b#c&d+e:f@g;h=i'j(k)l!m*n,o[p]q$r"),
              "file:///a%3Fb%23c%26d%2Be%3Af%40g%3Bh%3Di%27j%28k%29l%21m%2An%2Co%5Bp%5Dq%24r");
    // "ü" decomposed (NFD: u + combining diaeresis) and precomposed stay distinct bytes.
    EXPECT_EQ(urlOf("/Bu\xCC\x88ro/B\xC3\xBCro"), "file:///Bu%CC%88ro/B%C3%BCro");
    EXPECT_EQ(urlOf("/x/folder", true), "file:///x/folder/");
    EXPECT_EQ(urlOf("/x/folder/", true), "file:///x/folder/");
    EXPECT_EQ(urlOf("/"), "file:///");

    std::string out = "kept";
    EXPECT_FALSE(fileUrlFromPath("", out));
    EXPECT_FALSE(fileUrlFromPath("relative/path", out));
    EXPECT_FALSE(fileUrlFromPath(std::string_view("/a\0b", 4), out));
    EXPECT_EQ(out, "kept");
}

TEST(FileUrl, RoundTripsKeepEveryByte) {
    std::string all = "/";
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    const std::string paths[] = {
        "/Volumes/Work/My Pictures/holiday 2024.tif",
        "/100%/%41%zz%",  // percent signs that look like escapes
        "/Bu\xCC\x88ro/Fo\xCC\x88to.jpg",  // NFD
        "/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\x93\xB7.png",
        all,
    };
    for (const auto& path : paths) {
        EXPECT_EQ(pathOf(urlOf(path)), path);
    }
}

TEST(FileUrl, LongUrlsRoundTripAndTheLimitIsChecked) {
    // A path of 1,000 bytes ("/" and 999 letters) makes a 1,007-byte URL.
    const std::string path = "/" + std::string(999, 'p');
    const std::string url = urlOf(path);
    EXPECT_EQ(url.size(), 1007u);
    EXPECT_EQ(pathOf(url), path);

    // Spaces triple in the URL and shrink back.
    const std::string spaced = "/" + std::string(400, ' ');
    EXPECT_EQ(urlOf(spaced).size(), 7u + 1u + 1200u);
    EXPECT_EQ(pathOf(urlOf(spaced)), spaced);

    std::string out = "kept";
    EXPECT_TRUE(pathFromFileUrl(url, out, 1000));
    EXPECT_FALSE(pathFromFileUrl(url, out, 999));
    EXPECT_EQ(out, path);
}

TEST(FileUrl, AcceptsLocalhostAnyCaseAndDropsQueryFragmentAndTrailingSlash) {
    EXPECT_EQ(pathOf("file://localhost/x/y.tif"), "/x/y.tif");
    EXPECT_EQ(pathOf("FILE://LocalHost/x/y.tif"), "/x/y.tif");
    EXPECT_EQ(pathOf("File:///x/y.tif"), "/x/y.tif");
    EXPECT_EQ(pathOf("file:///x/%7e%7E"), "/x/~~");  // lower-case hex
    EXPECT_EQ(pathOf("file:///x/folder/"), "/x/folder");
    EXPECT_EQ(pathOf("file:///"), "/");
    EXPECT_EQ(pathOf("file:///x/y.tif?version=2"), "/x/y.tif");
    EXPECT_EQ(pathOf("file:///x/y.tif#top"), "/x/y.tif");
    EXPECT_EQ(pathOf("file:///x/y%3F.tif"), "/x/y?.tif");
}

TEST(FileUrl, RejectsWhatIsNoLocalFileUrl) {
    const std::string bad[] = {
        "",
        "file:",
        "file://",
        "file:/x/y",                 // no authority
        "file://server/x/y",         // another host
        "file://localhostx/y",
        "http:///x/y",
        "file:///x/%",               // truncated escapes
        "file:///x/%4",
        "file:///x/%G1",             // not hex
        "file:///x/%1G",
        "file:///x/%00y",            // encoded zero
        "file:///x y",               // raw space
        "file:///x\ty",
        std::string("file:///x\0y", 11),
    };
    for (const auto& url : bad) {
        std::string out = "kept";
        EXPECT_FALSE(pathFromFileUrl(url, out)) << url;
        EXPECT_EQ(out, "kept");
    }
}

}  // namespace
}  // namespace lumbrel::test
