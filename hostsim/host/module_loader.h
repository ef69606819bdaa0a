// Finding and loading a module file the way the host does: from its
// XTensions folder, a module's ".xnt" bundle folder, or the shared object
// itself. The module is loaded with its symbols kept local, and only the one
// entry point is looked up.
#pragma once

#include "xtapi.h"

#include <string>
#include <vector>

namespace hostsim {

// The shared object a path names: the file itself; for "X.xnt" the "X.so"
// inside it; for any other folder (an XTensions folder) the first "*.xnt"
// bundle in name order that holds its shared object. False with `error`.
bool resolveModuleFile(const std::string& path, std::string& file, std::string& error);

class LoadedModule {
public:
    LoadedModule() = default;
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // dlopen(RTLD_NOW | RTLD_LOCAL) and the entry point; false with error().
    bool load(const std::string& file);
    void unload() noexcept;
    // Forgets the module without unloading it: it stays mapped until the process ends.
    void keepMapped() noexcept;
    bool loaded() const noexcept { return handle_ != nullptr; }
    XTActivateProc entry() const noexcept { return entry_; }
    const std::string& file() const noexcept { return file_; }
    const std::string& error() const noexcept { return error_; }

private:
    void* handle_ = nullptr;
    XTActivateProc entry_ = nullptr;
    std::string file_;
    std::string error_;
};

// The names of the symbols an ELF shared object defines and exports (global
// or weak binding, default or protected visibility, defined in a section).
// False with `error` for a file that is no readable 64-bit ELF object.
bool exportedSymbols(const std::string& file, std::vector<std::string>& names, std::string& error);

}  // namespace hostsim
