#!/usr/bin/env bash
# Pictures of the module's dialogs as the Windows build makes them: each
# description built into the real "MyDialog" shell under Wine and captured
# from the virtual display (hostsim/tools/win32/dialog_snapshot.cpp), English
# and German, into docs/dialogs-windows/. The preference pane is shown as a
# dialog of its own, as its description alone makes it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target dialog_snapshot
source scripts/wine-session.sh
wine_session_start "$PWD/build/windows/wine"
trap wine_session_stop EXIT
out=docs/dialogs-windows
mkdir -p "$out"
snapshot() { WINEDEBUG=-all wine build/windows/bin/dialog_snapshot.exe "$@"; }
for language in E D; do
  for dialog in EDIT IMGLIST PDFIMPORT RELINK SWAP Progress Rename REPORT; do
    snapshot "$dialog" "$language" "$out/${dialog}_${language}.png"
  done
done
snapshot 28051 E "$out/Preferences_E.png"
snapshot 28351 D "$out/Preferences_D.png"
