#!/usr/bin/env bash
# Builds the host simulator and the module, then runs the demo session on the
# sample layout. Everything it writes goes under out/: a fresh copy of the
# module (its settings file starts empty on every run), the saved copy of the
# layout and the transcript, which is printed as the session runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target hostsim Lumbrel
# Git gives checked-out files the time of the checkout; the layout recorded
# the pictures at the time the sample maker stamps on them.
touch -d @1704067200 samples/pictures/*
rm -rf out/XTensions
mkdir -p out/XTensions
cp -R build/default/XTensions/Lumbrel.xnt out/XTensions/
build/default/bin/hostsim --module out/XTensions --script samples/demo.session \
    --transcript out/demo-transcript.txt
