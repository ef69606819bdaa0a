#include "support/test_support.h"

#include <algorithm>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/platform_traits.h"

namespace lumbrel::test {

TempDir::TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("lumbrel-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a scratch folder");
}

const char* nonFileName(NonFile kind) {
    switch (kind) {
        case NonFile::Fifo: return "FIFO";
        case NonFile::Folder: return "folder";
        case NonFile::Device: return "device";
    }
    return "?";
}

std::string readFile(const std::string& path) {
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string streamContents(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    return text;
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

char otherPathSeparator() {
    return platform::Traits::kHfsPaths ? ':' : platform::Traits::kPathSeparator;
}

std::string otherPathForm(std::string hfsPath) {
    std::replace(hfsPath.begin(), hfsPath.end(), ':', otherPathSeparator());
    return hfsPath;
}

std::string sourcePath(std::string_view relative) {
    return (std::filesystem::path(LUMBREL_SOURCE_DIR) / relative).string();
}

}  // namespace lumbrel::test
