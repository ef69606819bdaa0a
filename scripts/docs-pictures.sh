#!/usr/bin/env bash
# Pictures for the documentation, made by the host simulator running the real
# module on the sample layout. Each section writes one or more files under
# docs/; the scratch files go under out/docs-pictures/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target hostsim Lumbrel
# Git gives checked-out files the time of the checkout; the layout recorded
# the pictures at the time the sample maker stamps on them.
touch -d @1704067200 samples/pictures/*
work=out/docs-pictures
rm -rf "$work"
mkdir -p "$work/XTensions" docs
cp -R build/default/XTensions/Lumbrel.xnt "$work/XTensions/"
hostsim() { build/default/bin/hostsim --module "$work/XTensions" --no-socket --quiet "$@"; }

# ---- Image names on the layout view -------------------------------------------------
# The sample's second spread with the names on, as the host draws the view
# (picture previews, frames, the module's labels): docs/labels-view-100.png
# at 100 % and docs/labels-view-200.png at 200 %.
hostsim --script docs/labels-view.session
echo "docs/labels-view-100.png docs/labels-view-200.png"

# ---- Image names in print ----------------------------------------------------------
# The sample printed to PostScript with the names on (the question answered
# Yes), page 1 rendered by Ghostscript at 144 dpi: the file names on white
# labels above the picture boxes' top-left corners.
hostsim --script - <<EOF
open samples/sample.json
menu "Show Image Names"
answer Yes
print "$work/labels-print.ps"
expect alert "Print image names?"
expect violation none
EOF
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r144 -dTextAlphaBits=4 -dGraphicsAlphaBits=4 \
    -dFirstPage=1 -dLastPage=1 -sOutputFile=docs/labels-print.png "$work/labels-print.ps"
echo "docs/labels-print.png"

# ---- Dialogs -----------------------------------------------------------------------
# One picture per dialog in English and German, into docs/dialogs/. The
# module's dialogs are built from their descriptions by the module's own
# dialog code (dialog_preview: placement, localised titles) and drawn by the
# desktop stand-in; the preference pane is opened in the host's preferences
# dialog by a session, which pictures it and closes it without applying.
cmake --build --preset default --target dialog_preview
mkdir -p docs/dialogs
for lang in E:0 D:3; do
    suffix=${lang%%:*}
    region=${lang##*:}
    for name in EDIT IMGLIST PDFIMPORT RELINK SWAP Progress Rename; do
        build/default/bin/dialog_preview --resources resources --language "$region" \
            --out "docs/dialogs/${name}_${suffix}.png" "$name"
    done
    hostsim --script - <<EOF
language $region
dialog "Lumbrel" snapshot "docs/dialogs/Preferences_${suffix}.png"
dialog "Lumbrel" close
preferences
expect dialog "Lumbrel" closed -> 0
EOF
    echo "docs/dialogs/Preferences_${suffix}.png"
    # The one report before output, as a save of the sample with every check
    # on shows it, sorted by picture name.
    hostsim --script - <<EOF
language $region
open samples/sample.json
prefs set Default RGBWarning 1
prefs set Default EPSWarning 1
prefs set Default JPGWarning 1
prefs set Default CheckSummary 1
switchin
dialog any click 4
dialog any snapshot "docs/dialogs/REPORT_${suffix}.png"
dialog any click 2
save "$work/report.json"
expect violation none
EOF
    echo "docs/dialogs/REPORT_${suffix}.png"
done
