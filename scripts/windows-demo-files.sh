#!/usr/bin/env bash
# Prepares out/windows/ for samples/windows-demo.session (used by
# `scripts/demo.sh windows` and by its ctest): a fresh copy of the plug-in DLL,
# so that its settings file starts empty, and a copy of the sample whose TIFFs
# get low-resolution twins for the swap. Run from the repository's root.
#   scripts/windows-demo-files.sh PATH/TO/Lumbrel.xnt
set -euo pipefail
dll="$1"
# Git gives checked-out files the time of the checkout; the layout recorded
# the pictures at the time the sample maker stamps on them.
touch -d @1704067200 samples/pictures/*
rm -rf out/windows
mkdir -p out/windows/XTensions out/windows/swap
cp "$dll" out/windows/XTensions/
cp -p samples/sample.json out/windows/swap/
cp -Rp samples/pictures out/windows/swap/
python3 samples/make_lowres.py out/windows/swap/pictures
# A relink list for the drop of "Austausch.txt": the swap copy's rgb.tif is
# re-linked to a renamed copy. Wine shows the build machine's files on drive Z:.
mkdir -p out/windows/relink
cp -p samples/pictures/rgb.tif out/windows/relink/rgb-retouched.tif
windows_path() { printf 'Z:%s' "$(realpath "$1")" | tr / '\\'; }
printf '%s\t%s\r\n' "$(windows_path out/windows/swap/pictures/rgb.tif)" \
    "$(windows_path out/windows/relink/rgb-retouched.tif)" > out/windows/relink/Austausch.txt
