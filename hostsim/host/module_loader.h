// Finding and loading a module file the way the host does: from its
// XTensions folder, a module's ".xnt" entry, or the loadable object itself.
// On POSIX "X.xnt" is a bundle folder holding "X.so", loaded with dlopen and
// its symbols kept local; on Windows "X.xnt" is the DLL, loaded with
// LoadLibraryW. Only the one entry point is looked up.
#pragma once

#include "xtapi.h"

#include <string>
#include <vector>

namespace hostsim {

// The object a path names: the file itself; for a bundle folder "X.xnt" the
// "X.so" inside it; for any other folder (an XTensions folder) the first
// "*.xnt" entry in name order that is a module of this build. False with `error`.
bool resolveModuleFile(const std::string& path, std::string& file, std::string& error);

class LoadedModule {
public:
    LoadedModule() = default;
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    // dlopen(RTLD_NOW | RTLD_LOCAL) or LoadLibraryW, and the entry point; false with error().
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

// The names of the symbols a module object exports, sorted. POSIX: an ELF
// shared object's defined global or weak symbols of default or protected
// visibility. Windows: the names in a PE32+ DLL's export directory. False
// with `error` for a file that is no readable object of the build's format.
bool exportedSymbols(const std::string& file, std::vector<std::string>& names, std::string& error);

}  // namespace hostsim
