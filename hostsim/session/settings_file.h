// Editing the module's settings file on disk as a person would in a text
// editor while the host runs: the section "[Name]" and the entry "Key=Value"
// lines of the INI text, everything else (other lines, their order, their
// line ends, a last line without a line end) kept byte for byte.
//
// The module re-reads the file at the next switch-in when its modification
// time (whole seconds) is later than when it read it, so an edit moves the
// time forward by at least one second: an edit within the second the module
// read the file would otherwise go unnoticed.
#pragma once

#include <string>
#include <string_view>

namespace hostsim::session {

// The settings file of a loaded module file: "X.xnt/X.so" -> "X.ini" beside
// the bundle folder; any other module file gets its extension replaced.
std::string settingsPathOfModule(const std::string& moduleFile);

// The line end of an INI text as the module detects it: "\r\n" when the
// first CR is followed by LF, "\r" when there are CRs, "\n" when only LFs,
// and `fallback` when the text has no line end.
std::string_view detectLineEnd(std::string_view text, std::string_view fallback = "\n");

// In-memory edits. A section is the first line that is exactly "[section]";
// it runs to the next line starting with "[". Keys match byte for byte
// ("Key=" at the start of a line). New lines take the text's own line end.
//
// Sets the first entry of the key in the section (in place), or adds it after
// the section's last entry, or adds the section at the end of the text.
std::string setEntry(std::string_view text, std::string_view section, std::string_view key, std::string_view value);
// Removes the key's entry lines from the section; the text is unchanged when there is none.
std::string removeEntry(std::string_view text, std::string_view section, std::string_view key);

struct FileEditResult {
    bool ok = false;
    bool created = false;  // there was no file before
    std::string error;
};

// Reads the file (a missing file counts as empty), applies the edit, writes
// it back and moves its modification time past the old one.
FileEditResult setEntryInFile(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view value);
FileEditResult removeEntryInFile(const std::string& path, std::string_view section, std::string_view key);

}  // namespace hostsim::session
