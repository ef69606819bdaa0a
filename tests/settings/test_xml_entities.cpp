// The five predefined XML entities: written for the markup characters,
// read back in one pass, everything else left alone.
#include <gtest/gtest.h>

#include <string>

#include "settings/xml_entities.h"

namespace lumbrel {
namespace {

TEST(XMLEntities, EscapeAndUnescape) {
    const struct {
        std::string text, escaped;
    } rows[] = {
        {"order-1 O'Brien \xC3\xA4", "order-1 O'Brien \xC3\xA4"},  // nothing to escape: the same bytes
        {"x\" evil=\"1", "x&quot; evil=&quot;1"},
        {"<qid>&</qid>", "&lt;qid&gt;&amp;&lt;/qid&gt;"},
        {"&amp;", "&amp;amp;"},
        {"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(escapeXMLMarkup(row.text), row.escaped) << row.text;
        EXPECT_EQ(unescapeXMLEntities(row.escaped), row.text) << row.escaped;
    }
    const struct {
        std::string text, read;
    } reads[] = {
        {"&apos;&quot;&lt;&gt;&amp;", "'\"<>&"},
        {"&amp;lt;", "&lt;"},  // one pass
        {"&nbsp; &#38; &#x26; &AMP; & &amp", "&nbsp; &#38; &#x26; &AMP; & &amp"},
        {"a&&lt;b", "a&<b"},
    };
    for (const auto& row : reads) EXPECT_EQ(unescapeXMLEntities(row.text), row.read) << row.text;
}

}  // namespace
}  // namespace lumbrel
