#!/usr/bin/env bash
# Builds the host simulator and the module, then runs the demo session on the
# sample layout. Everything it writes goes under out/: a fresh copy of the
# module (its settings file starts empty on every run), the saved copy of the
# layout and the transcript, which is printed as the session runs.
#   scripts/demo.sh            the POSIX build (samples/demo.session)
#   scripts/demo.sh windows    the Windows build under Wine: the plug-in DLL in
#                              the Windows host (samples/windows-demo.session),
#                              everything written under out/windows/
set -euo pipefail
cd "$(dirname "$0")/.."
# Git gives checked-out files the time of the checkout; the layout recorded
# the pictures at the time the sample maker stamps on them.
stamp_samples() { touch -d @1704067200 samples/pictures/*; }

if [ "${1:-}" = windows ]; then
  bash scripts/build-windows-deps.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target hostsim Lumbrel
  bash scripts/windows-demo-files.sh build/windows/XTensions/Lumbrel.xnt
  source scripts/wine-session.sh
  wine_session_start "$PWD/build/windows/wine"
  trap wine_session_stop EXIT
  wine build/windows/bin/hostsim.exe --no-socket --module out/windows/XTensions \
      --script samples/windows-demo.session --transcript out/windows/transcript.txt
  exit 0
fi

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target hostsim Lumbrel
stamp_samples
rm -rf out/XTensions out/tmp out/swap
mkdir -p out/XTensions out/tmp out/swap
cp -R build/default/XTensions/Lumbrel.xnt out/XTensions/
# The swap runs on a copy of the sample whose TIFFs get low-resolution twins.
cp -p samples/sample.json out/swap/
cp -Rp samples/pictures out/swap/
python3 samples/make_lowres.py out/swap/pictures
# A relink list for the copy (whole paths, so it is written here) and the
# scripting request that names it.
swap_pictures="$PWD/out/swap/pictures"
printf '%s\t%s\r%s\t%s\r' "$swap_pictures/grey.tif" "$swap_pictures/layouts/grey.tif.lay" \
    "$swap_pictures/photo.jpg" "$swap_pictures/photo-web.jpg" > out/swap/Austausch.txt
printf '<cmd>4</cmd><path>%s</path>' "$PWD/out/swap/Austausch.txt" > out/swap/relink-request.xml
# A copy of the layout whose JPEG names a file that is not there.
sed 's#"pictures/photo.jpg"#"pictures/photo-old.jpg"#' samples/sample.json > out/swap/links.json
# Image lists go to the user's temporary folder: out/tmp for the demo.
TMPDIR="$PWD/out/tmp" build/default/bin/hostsim --module out/XTensions --script samples/demo.session \
    --transcript out/demo-transcript.txt
