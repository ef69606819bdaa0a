#include "hostsim/host/win32/dialog_results.h"

#include <cstring>
#include <map>
#include <mutex>

namespace hostsim::win32 {

namespace {

std::mutex resultsLock;
std::map<HWND, INT_PTR>& results() {
    static std::map<HWND, INT_PTR> byDialog;
    return byDialog;
}

BOOL WINAPI recordingEndDialog(HWND dialog, INT_PTR result) { return endDialogRecorded(dialog, result); }

template <typename T>
const T* at(const BYTE* base, DWORD rva) {
    return reinterpret_cast<const T*>(base + rva);
}

// Points one import slot at `target`; the slots are read-only once loaded.
bool redirect(IMAGE_THUNK_DATA* slot, ULONG_PTR target) {
    DWORD old = 0;
    if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old)) return false;
    slot->u1.Function = target;
    VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
    FlushInstructionCache(GetCurrentProcess(), &slot->u1.Function, sizeof slot->u1.Function);
    return true;
}

using EndDialogProc = BOOL(WINAPI*)(HWND, INT_PTR);

// The system's EndDialog itself: a call through this program's own import
// table would come back to the recorder when the program watches itself.
EndDialogProc systemEndDialog() {
    static const EndDialogProc proc = reinterpret_cast<EndDialogProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "EndDialog")));
    return proc;
}

}  // namespace

BOOL endDialogRecorded(HWND dialog, INT_PTR result) {
    const EndDialogProc proc = systemEndDialog();
    const BOOL ended = proc != nullptr && proc(dialog, result);
    if (ended) {
        const std::lock_guard<std::mutex> hold(resultsLock);
        results()[dialog] = result;
    }
    return ended;
}

std::optional<INT_PTR> takeDialogResult(HWND dialog) {
    const std::lock_guard<std::mutex> hold(resultsLock);
    const auto found = results().find(dialog);
    if (found == results().end()) return std::nullopt;
    const INT_PTR result = found->second;
    results().erase(found);
    return result;
}

bool watchDialogResults(HMODULE module) {
    if (module == nullptr) return false;
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = at<IMAGE_DOS_HEADER>(base, 0);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto* nt = at<IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT) {
        return false;
    }
    const IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return false;
    // A slot bound by ordinal or without a name table is found by the address it holds.
    const auto system = reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "EndDialog"));
    bool watched = false;
    for (const auto* library = at<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); library->Name != 0; ++library) {
        if (lstrcmpiA(at<char>(base, library->Name), "user32.dll") != 0) continue;
        const DWORD namesAt = library->OriginalFirstThunk != 0 ? library->OriginalFirstThunk : library->FirstThunk;
        const auto* name = at<IMAGE_THUNK_DATA>(base, namesAt);
        auto* slot = const_cast<IMAGE_THUNK_DATA*>(at<IMAGE_THUNK_DATA>(base, library->FirstThunk));
        for (; slot->u1.Function != 0; ++name, ++slot) {
            const bool named = library->OriginalFirstThunk != 0 && !IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
                               std::strcmp(at<IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(name->u1.AddressOfData))->Name,
                                           "EndDialog") == 0;
            if (!named && (system == 0 || slot->u1.Function != system)) continue;
            watched = redirect(slot, reinterpret_cast<ULONG_PTR>(&recordingEndDialog)) || watched;
        }
    }
    return watched;
}

}  // namespace hostsim::win32
