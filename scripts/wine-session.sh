# Sourced by the scripts that run Windows programs under Wine:
#   source scripts/wine-session.sh; wine_session_start PREFIX; trap wine_session_stop EXIT
# starts one virtual display (Xvfb) for the session, makes the Wine prefix
# on first use (Managed=N, so that without a window manager hiding a window
# does not wait; Wine's own fonts copied in, which Debian's Wine does not
# find by itself), installs the DejaVu fonts the host simulator draws with
# into its Fonts folder, and starts a persistent wineserver with stdio on /dev/null: a
# wineserver started by the first wine process inherits its pipes, and a
# caller waiting for their end (ctest) would wait for ever.

wine_session_start() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  local displayFile
  displayFile="$(mktemp)"
  # Xvfb picks a free display number itself and writes it to the descriptor.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayFile" </dev/null >/dev/null 2>&1 &
  WINE_SESSION_XVFB=$!
  local waited=0
  while [ ! -s "$displayFile" ]; do
    if ! kill -0 "$WINE_SESSION_XVFB" 2>/dev/null || [ "$waited" -ge 100 ]; then
      echo "Xvfb did not start" >&2
      rm -f "$displayFile"
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(tr -d '[:space:]' <"$displayFile")"
  rm -f "$displayFile"

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wineserver -w
  fi
  # The host simulator draws text in DejaVu (its font catalogue) and looks for
  # the files where a Windows program finds installed fonts: Debian's files
  # are installed there, in prefixes made before this step too.
  local font
  for font in DejaVuSans.ttf DejaVuSerif.ttf DejaVuSansMono.ttf; do
    cmp -s "/usr/share/fonts/truetype/dejavu/$font" "$WINEPREFIX/drive_c/windows/Fonts/$font" ||
      cp "/usr/share/fonts/truetype/dejavu/$font" "$WINEPREFIX/drive_c/windows/Fonts/$font"
  done
  wineserver -p </dev/null >/dev/null 2>&1
  # The first program also starts Wine's services (winedevice.exe), which stay
  # and would hold its pipes: start them here, on /dev/null.
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "${WINE_SESSION_XVFB:-}" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null || true
}
