// Asking the user for an application (the "Choose…" button of the
// edit-picture dialog).
#pragma once

namespace lumbrel {

// Shows the system's application chooser with the localised text of
// `promptKey` (or the text itself) as its prompt. On OK the chosen
// application's path goes into `path` (512 bytes) and the answer is true. On
// Cancel, when the chooser cannot be shown, or when the chosen path does not
// fit into 512 bytes, `path` stays as it was and the answer is false.
bool doGetAppPath(char* path, const char* promptKey);

}  // namespace lumbrel
