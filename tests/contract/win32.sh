# The Windows window's driver for scenarios.sh: korvane-settei.exe under Wine, pressed by
# korvane-press.exe; the simulator's line is the Wine port COM5. Needs WINEPREFIX and DISPLAY.
# args: KORVANE_SIM WIN32_KORVANE_SETTEI_EXE KORVANE_PRESS_EXE
sim=$(realpath "$1") exe=$(realpath "$2") press=$(realpath "$3")
wine=/usr/lib/wine/wine64
# The traffic log's rule in the prefix's environment: Wine passes no QT_ variable from Linux.
"$wine" reg add 'HKCU\Environment' /v QT_LOGGING_RULES /d korvane.serial.debug=true /f >/dev/null 2>&1
driver_end() { "$wine" reg delete 'HKCU\Environment' /v QT_LOGGING_RULES /f >/dev/null 2>&1 || true; }
sim_link() { echo "$WINEPREFIX/dosdevices/com5"; }
launch() {
  (cd "$work" && exec "$wine" "$exe" --data-dir "$work") >"$work/tool.out" 2>"$work/tool.err" &
  tool=$!
}
# Keys by their virtual-key codes, a path as Wine names it.
hand() {
  local args=() a prev='' before=''
  for a in "$@"; do
    [ "$prev" != --open ] || a="Z:${a//\//\\}"
    [ "$before" != --keys ] || a=$(sed 's/F4/115/g; s/Down/40/g; s/Escape/27/g; s/Enter/13/g' <<<"$a")
    args+=("$a") before=$prev prev=$a
  done
  "$wine" "$press" "${args[@]}" | tr -d '\r'
}
picture() {
  (cd "$work" && exec timeout 90 "$wine" "$exe" --read-and-screenshot read.png --data-dir "$work") \
    >/dev/null 2>&1
}
