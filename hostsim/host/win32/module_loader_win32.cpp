// Modules as Windows hosts load them: the DLL "X.xnt" itself, found in the
// XTensions folder and opened with LoadLibraryExW.
#include "hostsim/host/module_loader.h"

#include "hostsim/host/module_object.h"
#include "hostsim/host/win32/shell_stand_in.h"
#include "hostsim/host/win32/dialog_results.h"

#include "desktop/files/win32/windows_api.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace hostsim {

namespace fs = std::filesystem;

bool moduleObjectIn(const fs::path& entry, fs::path& object, std::string& error) {
    std::error_code ec;
    if (!fs::is_regular_file(entry, ec)) {
        error = entry.string() + " is no module DLL";
        return false;
    }
    object = entry;
    return true;
}

bool LoadedModule::load(const std::string& file) {
    unload();
    error_.clear();
    const std::wstring wide = desktop::files::wideText(file);
    // The module's own dependencies are looked for beside it first, as a host's are for its XTensions.
    HMODULE handle = wide.empty() ? nullptr : LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (handle == nullptr) {
        error_ = "cannot load " + file + ": Windows error " + std::to_string(GetLastError());
        return false;
    }
    FARPROC symbol = GetProcAddress(handle, XT_ACTIVATE_SYMBOL);
    if (symbol == nullptr) {
        error_ = file + " does not export " XT_ACTIVATE_SYMBOL;
        FreeLibrary(handle);
        return false;
    }
    // What the module asks of the shell is recorded, never started.
    standInForShell(handle);
    handle_ = handle;
    // The transcript says how each of its dialogs ended.
    win32::watchDialogResults(handle);
    // GetProcAddress answers every export as FARPROC; the entry point has this one type.
    entry_ = reinterpret_cast<XTActivateProc>(reinterpret_cast<void (*)()>(symbol));
    file_ = file;
    return true;
}

void LoadedModule::unload() noexcept {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
    entry_ = nullptr;
}

bool exportedSymbols(const std::string& file, std::vector<std::string>& names, std::string& error) {
    names.clear();
    std::string bytes;
    if (!readModuleObject(file, sizeof(IMAGE_DOS_HEADER), "a PE object", bytes, error)) return false;
    auto fits = [&](std::uint64_t offset, std::uint64_t length) {
        return offset <= bytes.size() && length <= bytes.size() - offset;
    };
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, bytes.data(), sizeof dos);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
        !fits(static_cast<std::uint64_t>(dos.e_lfanew), sizeof(IMAGE_NT_HEADERS64))) {
        error = file + " is no PE object";
        return false;
    }
    IMAGE_NT_HEADERS64 nt;
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
    if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        error = file + " is no PE32+ object";
        return false;
    }
    const std::uint64_t sectionsAt = static_cast<std::uint64_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                     nt.FileHeader.SizeOfOptionalHeader;
    if (!fits(sectionsAt, std::uint64_t{nt.FileHeader.NumberOfSections} * sizeof(IMAGE_SECTION_HEADER))) {
        error = file + ": bad section table";
        return false;
    }
    // File offset of `length` bytes at a relative virtual address; false when no section holds them.
    auto fileOffset = [&](std::uint64_t rva, std::uint64_t length, std::uint64_t& offset) {
        for (unsigned i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            std::memcpy(&section, bytes.data() + sectionsAt + i * sizeof section, sizeof section);
            const std::uint64_t start = section.VirtualAddress;
            const std::uint64_t extent = section.SizeOfRawData;
            if (rva >= start && rva - start <= extent && length <= extent - (rva - start)) {
                offset = section.PointerToRawData + (rva - start);
                return fits(offset, length);
            }
        }
        return false;
    };
    if (nt.OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_EXPORT) {
        error = file + " has no export directory";
        return false;
    }
    const IMAGE_DATA_DIRECTORY directory = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (directory.VirtualAddress == 0 || directory.Size == 0) return true;  // exports nothing
    std::uint64_t at = 0;
    if (!fileOffset(directory.VirtualAddress, sizeof(IMAGE_EXPORT_DIRECTORY), at)) {
        error = file + ": bad export directory";
        return false;
    }
    IMAGE_EXPORT_DIRECTORY exports;
    std::memcpy(&exports, bytes.data() + at, sizeof exports);
    std::uint64_t namesAt = 0;
    if (exports.NumberOfNames != 0 &&
        !fileOffset(exports.AddressOfNames, std::uint64_t{exports.NumberOfNames} * sizeof(DWORD), namesAt)) {
        error = file + ": bad export name table";
        return false;
    }
    for (DWORD n = 0; n < exports.NumberOfNames; ++n) {
        DWORD nameRva = 0;
        std::memcpy(&nameRva, bytes.data() + namesAt + n * sizeof nameRva, sizeof nameRva);
        std::uint64_t nameAt = 0;
        if (!fileOffset(nameRva, 1, nameAt)) {
            error = file + ": bad export name";
            return false;
        }
        const char* begin = bytes.data() + nameAt;
        names.emplace_back(begin, strnlen(begin, static_cast<std::size_t>(bytes.size() - nameAt)));
    }
    std::sort(names.begin(), names.end());
    return true;
}

}  // namespace hostsim
