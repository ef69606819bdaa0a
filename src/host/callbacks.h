// The host callbacks that are no feature of their own: document open and
// save, the unused idle code, shutdown, language, switch-in and the event
// filter. Every one answers 0, so the host always goes on with its own
// handling.
#pragma once

#include <cstdint>

namespace lumbrel {

std::int32_t docOpenCallback(void* record);     // 46
std::int32_t docSaveCallback(void* record);     // 610
std::int32_t unusedCallback(void* record);      // 74
std::int32_t shutdownCallback(void* record);    // 4
std::int32_t languageCallback(void* record);    // 5
std::int32_t switchInCallback(void* record);    // 12
std::int32_t eventFilterCallback(void* record); // 10
std::int32_t jobStartCallback(void* record);    // 282
std::int32_t jobEndCallback(void* record);      // 283
std::int32_t drawBoxCallback(void* record);     // 66

// The copy-name shortcut: the file name (without folder) of the current
// picture box's picture onto the general clipboard. False, with the
// clipboard untouched, when the current box is no picture box.
bool copyPictureNameToClipboard();

}  // namespace lumbrel
