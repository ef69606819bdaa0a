// Reads arbitrary text as a layout file and checks what every load must
// hold: a failure names its source and yields no document; a document that
// loads writes canonical JSON that loads again to the same document and the
// same text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hostsim/model/document_json.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const hostsim::LoadResult loaded = hostsim::parseDocument(text, "fuzz");
    if (!loaded.ok()) {
        check(loaded.error.rfind("fuzz: ", 0) == 0);
        return 0;
    }
    std::string json;
    if (!hostsim::documentToJson(*loaded.document, json)) return 0;  // text fields that are not UTF-8
    const hostsim::LoadResult again = hostsim::parseDocument(json, "canonical");
    check(again.ok());
    check(*again.document == *loaded.document);
    std::string second;
    check(hostsim::documentToJson(*again.document, second));
    check(second == json);
    return 0;
}
