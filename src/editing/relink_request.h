// Relinking by list on request of another program: the scripting event's
// command 4 names the list, which is applied as a dropped list would be.
//
//   <cmd>4</cmd><path>/Jobs/Heft 12/Austausch.txt</path>
//
// As with a drop, only a file named exactly "Austausch.txt" is taken; the
// path is a whole path (POSIX, or colon-separated from the startup volume;
// on Windows "C:\Jobs\…" or "\\server\share\…"), written as XML text (entities are read), and must fit a path buffer whole. The reply is the <cmd> element alone.
#pragma once

namespace lumbrel {

inline constexpr int kScriptCmdRelink = 4;
inline constexpr const char* kRelinkListName = "Austausch.txt";

void relinkFromScriptRequest(const char* request);

}  // namespace lumbrel
