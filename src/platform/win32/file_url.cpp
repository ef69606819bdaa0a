#include "platform/win32/file_url.h"

namespace lumbrel::platform::win32 {

namespace {

bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/' || c == ':';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

bool isDriveRoot(std::string_view path) {
    return path.size() == 3 && path[1] == ':' && path[2] == '\\';
}

}  // namespace

std::string fileUrlFromPath(std::string_view path) {
    if (path.substr(0, 8) == "\\\\?\\UNC\\") {
        path.remove_prefix(8);
        return fileUrlFromPath(std::string("\\\\") + std::string(path));
    }
    if (path.substr(0, 4) == "\\\\?\\") path.remove_prefix(4);
    std::string url = "file://";
    if (path.substr(0, 2) == "\\\\") {
        path.remove_prefix(2);  // the server becomes the URL's host
    } else {
        url += '/';
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            url += '/';
        } else if (keptAsIs(byte)) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

bool pathFromFileUrl(std::string_view url, std::string& path, std::size_t limit) {
    if (!startsWithIgnoringCase(url, "file://")) return false;
    url.remove_prefix(7);
    std::string result;
    if (startsWithIgnoringCase(url, "localhost/")) url.remove_prefix(9);
    if (url.empty()) return false;
    if (url.front() == '/') {
        url.remove_prefix(1);  // "file:///C:/…": no host
    } else {
        result = "\\\\";  // "file://server/share/…"
    }
    for (std::size_t i = 0; i < url.size(); ++i) {
        char c = url[i];
        if (c == '%') {
            if (i + 2 >= url.size()) return false;
            const int high = hexValue(url[i + 1]);
            const int low = hexValue(url[i + 2]);
            if (high < 0 || low < 0) return false;
            c = static_cast<char>(high * 16 + low);
            i += 2;
        } else if (c == '/') {
            c = '\\';
        }
        if (c == '\0') return false;
        if (result.size() >= limit) return false;
        result += c;
    }
    // A local path names a drive ("C:\…"); a server path a share.
    if (result.substr(0, 2) != "\\\\" && (result.size() < 3 || result[1] != ':' || result[2] != '\\')) return false;
    while (result.size() > 1 && result.back() == '\\' && !isDriveRoot(result)) result.pop_back();
    path = std::move(result);
    return true;
}

}  // namespace lumbrel::platform::win32
