// Feeds the settings store a random file text, then a random sequence of
// reads, writes, removals, enumerations and saves taken from the same input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/resources.h"
#include "settings/settings_store.h"

namespace {

// Splits the fuzz input into a file text and an operation script.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // A short name or value; mostly tame characters so sections and keys
    // meet each other, sometimes raw bytes (line ends, "[", "=").
    std::string word() {
        const std::size_t length = byte() % 12;
        std::string text;
        for (std::size_t i = 0; i < length && !empty(); ++i) {
            const std::uint8_t b = byte();
            text.push_back((b & 0x80) ? static_cast<char>(b & 0x7F) : static_cast<char>('a' + b % 4));
        }
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::string scratchPath() {
    static std::string path = [] {
        char folder[] = "/tmp/lumbrel-fuzz-XXXXXX";
        const char* made = ::mkdtemp(folder);
        return std::string(made ? made : "/tmp") + "/fuzz.ini";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using lumbrel::CMySettings;
    // The first two bytes say how much of the input is the file text.
    if (size < 2) return 0;
    const std::size_t textLength = std::min<std::size_t>(size - 2, (std::size_t{data[0]} << 8) | data[1]);
    const std::string path = scratchPath();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data + 2, 1, textLength, file);
        std::fclose(file);
    }

    CMySettings store;
    if (store.setupWithPath(path.c_str()) != 0) return 0;
    Input in(data + 2 + textLength, size - 2 - textLength);
    char out[64];
    while (!in.empty()) {
        const std::uint8_t op = in.byte() % 8;
        const std::string section = in.word();
        const std::string key = in.word();
        switch (op) {
            case 0: {
                const std::int32_t max = 1 + in.byte() % 63;
                const std::int32_t n = store.get(section.c_str(), key.c_str(), out, max);
                if (n >= max) std::abort();  // written past the caller's size
                break;
            }
            case 1: {
                const std::string value = in.word();
                if (store.set(section.c_str(), key.c_str(), value.c_str()) == 0 && !section.empty() &&
                    section.find_first_of("\r\n[]=") == std::string::npos && !key.empty() &&
                    key.find_first_of("\r\n[]=") == std::string::npos &&
                    value.find_first_of("\r\n") == std::string::npos) {
                    // A value just written reads back unless the text holds an
                    // older copy of the entry ahead of it (duplicate lines),
                    // so only a value that is not there at all is a fault.
                    if (store.get(section.c_str(), key.c_str(), out, sizeof out) < 0) std::abort();
                }
                break;
            }
            case 2: store.set(section.c_str(), key.c_str(), static_cast<std::int32_t>(in.byte()) - 128); break;
            case 3: store.remove(section.c_str(), key.c_str()); break;
            case 4: store.remove(section.c_str()); break;
            case 5:
                store.enumSection(
                    section.c_str(),
                    [](const char* k, const char* v, std::intptr_t) {
                        return std::strlen(k) + std::strlen(v) < 255;
                    },
                    0);
                break;
            case 6: store.save(); break;
            default: (void)store.getfloat(section.c_str(), key.c_str(), 1.5f); break;
        }
        if (store.text().find('\n') != std::string::npos) std::abort();  // the internal form holds no LF
    }
    return 0;
}
