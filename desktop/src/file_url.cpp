#include "desktop/file_url.h"

#include <cstdint>

namespace desktop {
namespace {

bool isUnreserved(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

int hexValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) noexcept {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

bool fileUrlFromPath(std::string_view path, std::string& out, bool folder) {
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string_view::npos) return false;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    url.reserve(url.size() + path.size() * 3 + 1);
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte) || c == '/') {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    if (folder && url.back() != '/') url += '/';
    out = std::move(url);
    return true;
}

bool pathFromFileUrl(std::string_view url, std::string& out, std::size_t maxBytes) {
    std::string_view rest;
    if (startsWithNoCase(url, "file:///")) {
        rest = url.substr(7);
    } else if (startsWithNoCase(url, "file://localhost/")) {
        rest = url.substr(16);
    } else {
        return false;
    }
    // A query or fragment is not part of the path.
    const std::size_t end = rest.find_first_of("?#");
    if (end != std::string_view::npos) rest = rest.substr(0, end);

    std::string path;
    path.reserve(rest.size() < maxBytes ? rest.size() : maxBytes);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const auto byte = static_cast<unsigned char>(rest[i]);
        char decoded = rest[i];
        if (byte <= 0x20 || byte == 0x7F) return false;  // controls and spaces are never raw in a URL
        if (rest[i] == '%') {
            if (rest.size() - i < 3) return false;  // truncated escape
            const int high = hexValue(rest[i + 1]);
            const int low = hexValue(rest[i + 2]);
            if (high < 0 || low < 0) return false;
            const int value = high * 16 + low;
            if (value == 0) return false;
            decoded = static_cast<char>(static_cast<unsigned char>(value));
            i += 2;
        }
        if (path.size() >= maxBytes) return false;
        path += decoded;
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty()) return false;
    out = std::move(path);
    return true;
}

}  // namespace desktop
