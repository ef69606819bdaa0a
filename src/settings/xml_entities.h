// The five entities XML predefines (&amp; &lt; &gt; &quot; &apos;), for
// texts that travel inside XML written and read by plain text handling.
#pragma once

#include <string>
#include <string_view>

namespace lumbrel {

// "&", "<", ">" and '"' as their entities, so that the text is safe as
// element content and inside a double-quoted attribute value. The
// apostrophe is left as it is: the module never quotes with it. A text
// without those four characters comes back byte for byte.
std::string escapeXMLMarkup(std::string_view text);

// Each of the five predefined entities read as its character, in one pass
// ("&amp;lt;" is "&lt;"); anything else, other references included, stays
// as it is.
std::string unescapeXMLEntities(std::string_view text);

}  // namespace lumbrel
