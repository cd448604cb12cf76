# The Qt window's driver for scenarios.sh: korvane-qt-driver runs the window korvane-settei runs,
# offscreen, and is the hand that presses it; the picture run is korvane-settei's own.
# args: KORVANE_SIM KORVANE_QT_DRIVER KORVANE_SETTEI
sim=$(realpath "$1") qt_driver=$(realpath "$2") settei=$(realpath "$3")
export QT_QPA_PLATFORM=offscreen
sim_link() { echo "$work/COM5"; }
launch() {
  QT_LOGGING_RULES=korvane.serial.debug=true "$qt_driver" --listen "$work/verbs" --data-dir "$work" \
    --port-dir "$work" >"$work/tool.out" 2>"$work/tool.err" &
  tool=$!
}
hand() { "$qt_driver" "$work/verbs" "$@"; }
picture() {
  (cd "$work" && exec timeout 90 "$settei" --read-and-screenshot "$work/read.png" --data-dir "$work" \
    --port-dir "$work") >/dev/null 2>&1
}
