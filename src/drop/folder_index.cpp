#include "drop/folder_index.h"

#include <new>

#include "util/files_paths.h"

namespace lumbrel {

namespace {

void appendLowered(std::string& out, std::string_view text) {
    for (const char c : text) out.push_back(lowerAscii(c));
}

}  // namespace

bool FolderIndex::addItem(char* path, std::intptr_t value) {
    auto& index = *reinterpret_cast<FolderIndex*>(value);
    if (index.add(path)) return true;
    index.failed_ = true;
    return false;
}

bool FolderIndex::add(std::string_view path) {
    if (entries_.size() >= kNone) return false;
    try {
        const std::string_view name = walkedItemName(path);
        Entry entry;
        entry.name = names_.size();
        entry.nameLength = static_cast<std::uint32_t>(name.size());
        entry.path = paths_.size();
        appendLowered(names_, name);
        paths_.append(path);
        paths_.push_back('\0');
        entries_.push_back(entry);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::string_view FolderIndex::nameOf(const Entry& entry) const noexcept {
    return std::string_view(names_).substr(entry.name, entry.nameLength);
}

bool FolderIndex::build(const char* folder, bool deep) noexcept {
    names_.clear();
    paths_.clear();
    entries_.clear();
    first_.clear();
    failed_ = false;
    if (folder == nullptr) return true;
    EnumFolder(folder, addItem, reinterpret_cast<std::intptr_t>(this), deep);
    if (failed_) return false;
    try {
        // The names are in place now: the map keys point into them. Going
        // backwards, each item is put in front of the later ones of its name.
        first_.reserve(entries_.size());
        for (std::size_t i = entries_.size(); i-- > 0;) {
            auto [slot, added] = first_.try_emplace(nameOf(entries_[i]), static_cast<std::uint32_t>(i));
            if (!added) {
                entries_[i].next = slot->second;
                slot->second = static_cast<std::uint32_t>(i);
            }
        }
    } catch (const std::bad_alloc&) {
        failed_ = true;
        first_.clear();
        return false;
    }
    return true;
}

bool FolderIndex::find(FolderMatch& match) const noexcept {
    match.foundPath[0] = '\0';
    match.found = 0;
    if (failed_ || match.name[0] == '\0') return false;
    char lowered[kPathSize];
    std::size_t length = 0;
    for (; match.name[length] != '\0' && length + 1 < sizeof lowered; ++length) {
        lowered[length] = lowerAscii(match.name[length]);
    }
    const auto found = first_.find(std::string_view(lowered, length));
    if (found == first_.end()) return false;
    for (std::uint32_t i = found->second; i != kNone; i = entries_[i].next) {
        const char* path = paths_.c_str() + entries_[i].path;
        if (isFolder(path)) continue;
        copyBounded(match.foundPath, path);
        match.found = 1;
        return true;
    }
    return false;
}

}  // namespace lumbrel
