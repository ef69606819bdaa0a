// Modal alerts with localised texts. The key is looked up in the string
// table and the text formatted with the arguments (printf style) into at most
// 512 bytes; the second line prepared by setMsg2 (settings/localised_strings.h)
// becomes the informative text. Both prepared lines are cleared afterwards, so
// a second line never carries over to the next alert.
#pragma once

namespace lumbrel {

// Answers of the two-button alerts.
inline constexpr int kAnswerDefault = 1;  // OK, Yes
inline constexpr int kAnswerCancel = 2;   // Cancel, No

// OK only; answers 1.
int msgBox(const char* key, ...);
// OK and Cancel: 1 or 2. An alert that cannot be shown answers 2, so that
// nothing goes ahead that the user did not agree to.
int msgBoxOkCancel(const char* key, ...);
// Yes and No: 1 or 2; 2 as well when the alert cannot be shown.
int msgBoxYesNo(const char* key, ...);

}  // namespace lumbrel
