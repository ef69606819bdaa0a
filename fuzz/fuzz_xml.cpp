// Feeds arbitrary text to the XML readers and the XML writer.
//
// Input: one byte giving the length of an element name, the name, then the
// XML text. The readers are also asked for the first tag name the text
// itself holds, so that real elements are found and not only misses.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "settings/xml_stream.h"
#include "settings/xml_text.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool visit(const char* element, std::size_t length, std::intptr_t value) {
    check(std::strlen(element) == length);
    check(length >= 7 && element[0] == '<' && element[length - 1] == '>');
    auto* count = reinterpret_cast<std::size_t*>(value);
    return ++*count < 100000;
}

void readAll(const char* text, const char* name) {
    // Exactly the callers' 256 bytes on the heap, so a write past it is seen.
    auto out = std::make_unique<char[]>(256);
    const std::size_t copied = lumbrel::getXMLString(text, name, out.get(), 256);
    if (copied > 0) check(copied < 256 && std::strlen(out.get()) == copied);

    std::string_view content;
    const bool found = lumbrel::findXMLContent(text, name, content);
    check(found || copied == 0);
    char* data = lumbrel::getXMLData(text, name);
    if (data != nullptr && std::strchr(name, ' ') == nullptr) check(found && content == data);
    std::free(data);

    static_cast<void>(lumbrel::getXMLValue(text, name, -1));
    std::size_t count = 0;
    static_cast<void>(lumbrel::EnumXMLData(text, name, visit, reinterpret_cast<std::intptr_t>(&count)));
}

void write(const char* name, const char* text, const char* attrName, std::int32_t capacity) {
    lumbrel::XMLStream stream;
    if (stream.setup(capacity) != 0) return;
    for (int round = 0; round < 3; ++round) {
        static_cast<void>(stream.add(name, text));
        static_cast<void>(stream.add(name, round * 1000 - 1));
        static_cast<void>(stream.add(name, text, attrName, text));
        check(stream.length() < stream.capacity());
        check(std::strlen(stream.text()) == static_cast<std::size_t>(stream.length()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t nameLength = data[0] < size - 1 ? data[0] : size - 1;
    const std::string name(reinterpret_cast<const char*>(data + 1), nameLength);
    const std::string text(reinterpret_cast<const char*>(data + 1 + nameLength), size - 1 - nameLength);

    std::string inner;
    if (const std::size_t open = text.find('<'); open != std::string::npos) {
        const std::size_t close = text.find('>', open);
        if (close != std::string::npos) inner = text.substr(open + 1, close - open - 1);
    }

    readAll(text.c_str(), name.c_str());
    readAll(text.c_str(), inner.c_str());
    readAll(name.c_str(), inner.c_str());

    const std::string shortText = text.substr(0, 300);
    write(name.c_str(), shortText.c_str(), inner.c_str(), 64 + data[0] % 256);
    return 0;
}
