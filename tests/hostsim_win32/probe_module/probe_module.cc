// A module DLL for the Windows loader tests: the entry point answers a known
// value without touching its record, and one more export shows in the table.
#include "xtapi.h"

#include <cstdint>

extern "C" {

__declspec(dllexport) std::int32_t XTActivateCallback(XTActivationRec*) { return 4267; }

__declspec(dllexport) std::int32_t probe_extra(void) { return 7; }

}  // extern "C"
