// The operating system's answer to "where is the user's documents folder"
// and its siblings. The module asks through util/files_paths.h, which turns
// the four-character folder types into these kinds and bounds the result.
#pragma once

#include <string>

namespace lumbrel::platform {

enum class SpecialFolder {
    Documents,
    Desktop,
    Preferences,
    AppSupport,
    Temporary,
};

// The folder's absolute path, without a trailing "/" (except for "/"
// itself). The folder is not created and may not exist. False (out
// unchanged) when no home folder can be found.
//
// POSIX desktop rules (XDG base directory and user-dirs conventions):
//   Documents    XDG_DOCUMENTS_DIR of user-dirs.dirs, else $HOME/Documents
//   Desktop      XDG_DESKTOP_DIR of user-dirs.dirs, else $HOME/Desktop
//   Preferences  $XDG_CONFIG_HOME, else $HOME/.config
//   AppSupport   $XDG_DATA_HOME, else $HOME/.local/share
//   Temporary    $TMPDIR, else /tmp
// user-dirs.dirs is read from $XDG_CONFIG_HOME (else $HOME/.config). Values
// that are not absolute paths are ignored, as the XDG conventions require.
// $HOME comes from the environment, else from the user database.
//
// Windows: the shell's known folders (Documents, Desktop; Preferences the
// roaming application data, AppSupport the local one) and GetTempPathW's
// folder, with backslashes, a drive's root keeping its own ("C:\").
bool findSpecialFolder(SpecialFolder folder, std::string& out) noexcept;

}  // namespace lumbrel::platform
