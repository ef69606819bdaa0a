// Modules as POSIX hosts load them: a bundle folder "X.xnt" holding the shared
// object "X.so", opened with dlopen, its symbols kept local.
#include "hostsim/host/module_loader.h"

#include "hostsim/host/module_object.h"

#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace hostsim {

namespace fs = std::filesystem;

bool moduleObjectIn(const fs::path& bundle, fs::path& object, std::string& error) {
    std::error_code ec;
    const fs::path inside = bundle / (bundle.stem().string() + ".so");
    if (!fs::is_directory(bundle, ec) || !fs::is_regular_file(inside, ec)) {
        error = "the bundle " + bundle.string() + " holds no " + inside.filename().string();
        return false;
    }
    object = inside;
    return true;
}

bool LoadedModule::load(const std::string& file) {
    unload();
    error_.clear();
    dlerror();
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error_ = "cannot load " + file + ": " + (why != nullptr ? why : "unknown error");
        return false;
    }
    dlerror();
    void* symbol = dlsym(handle, XT_ACTIVATE_SYMBOL);
    if (symbol == nullptr) {
        error_ = file + " does not export " XT_ACTIVATE_SYMBOL;
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    // POSIX guarantees that a function's address survives the round trip through void*.
    entry_ = reinterpret_cast<XTActivateProc>(symbol);
    file_ = file;
    return true;
}

void LoadedModule::unload() noexcept {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
    entry_ = nullptr;
}

bool exportedSymbols(const std::string& file, std::vector<std::string>& names, std::string& error) {
    names.clear();
    std::string bytes;
    if (!readModuleObject(file, sizeof(Elf64_Ehdr), "an ELF object", bytes, error)) return false;
    auto fits = [&](std::uint64_t offset, std::uint64_t length) {
        return offset <= bytes.size() && length <= bytes.size() - offset;
    };
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
        error = file + " is no 64-bit ELF object";
        return false;
    }
    if (header.e_shentsize != sizeof(Elf64_Shdr) ||
        !fits(header.e_shoff, std::uint64_t{header.e_shnum} * sizeof(Elf64_Shdr))) {
        error = file + ": bad section table";
        return false;
    }
    auto section = [&](std::size_t index) {
        Elf64_Shdr shdr;
        std::memcpy(&shdr, bytes.data() + header.e_shoff + index * sizeof(Elf64_Shdr), sizeof shdr);
        return shdr;
    };
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        const Elf64_Shdr symbols = section(i);
        if (symbols.sh_type != SHT_DYNSYM) continue;
        if (symbols.sh_entsize != sizeof(Elf64_Sym) || symbols.sh_link >= header.e_shnum ||
            !fits(symbols.sh_offset, symbols.sh_size)) {
            error = file + ": bad dynamic symbol table";
            return false;
        }
        const Elf64_Shdr strings = section(symbols.sh_link);
        if (!fits(strings.sh_offset, strings.sh_size)) {
            error = file + ": bad string table";
            return false;
        }
        const std::size_t count = symbols.sh_size / sizeof(Elf64_Sym);
        for (std::size_t s = 1; s < count; ++s) {
            Elf64_Sym sym;
            std::memcpy(&sym, bytes.data() + symbols.sh_offset + s * sizeof(Elf64_Sym), sizeof sym);
            const unsigned binding = ELF64_ST_BIND(sym.st_info);
            const unsigned visibility = ELF64_ST_VISIBILITY(sym.st_other);
            // Absolute symbols are the version names a version script defines.
            if (sym.st_shndx == SHN_UNDEF || sym.st_shndx == SHN_ABS || (binding != STB_GLOBAL && binding != STB_WEAK)) continue;
            if (visibility != STV_DEFAULT && visibility != STV_PROTECTED) continue;
            if (sym.st_name >= strings.sh_size) continue;
            const char* begin = bytes.data() + strings.sh_offset + sym.st_name;
            const std::size_t room = static_cast<std::size_t>(strings.sh_size - sym.st_name);
            names.emplace_back(begin, strnlen(begin, room));
        }
        std::sort(names.begin(), names.end());
        return true;
    }
    error = file + " has no dynamic symbol table";
    return false;
}

}  // namespace hostsim
