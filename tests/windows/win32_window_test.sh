#!/usr/bin/env bash
# The Windows window under Wine beside the Qt window: every control within a pixel of where the
# Qt build puts it, and its Japanese captions drawn as glyphs, not as boxes (two captions that
# differ in one kanji, 赤経 and 赤緯, must not look alike). Run by tools/windows-check.sh, with
# WINEPREFIX and DISPLAY set.
# usage: win32_window_test.sh QT_KORVANE_SETTEI WIN32_KORVANE_SETTEI_EXE
set -euo pipefail
qt=$1 exe=$2
work=$(mktemp -d /tmp/korvane-win32-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

QT_QPA_PLATFORM=offscreen timeout 60 "$qt" --control-rects "$work/qt.txt" \
  --data-dir "$work" --port-dir "$work" 2>/dev/null || fail "the Qt window gave no rectangles"
timeout 60 /usr/lib/wine/wine64 "$exe" --control-rects "$work/win32.txt" --data-dir "$work" ||
  fail "the Windows window gave no rectangles"
awk 'NR == FNR { qt[$1] = $0; next }
     { split(qt[$1], q); seen++
       for (i = 2; i <= 5; i++) if ($i - q[i] > 1 || q[i] - $i > 1) { print "moved: " $0 " (Qt: " qt[$1] ")"; bad = 1 } }
     END { if (seen != length(qt)) { print seen " controls, not " length(qt); bad = 1 }; exit bad }' \
  "$work/qt.txt" "$work/win32.txt" || fail "the Windows window's controls are not where the Qt window's are"

timeout 60 /usr/lib/wine/wine64 "$exe" --screenshot "$work/shot.png" --data-dir "$work" \
  >/dev/null || fail "no screenshot"
python3 - "$work/shot.png" "$work/win32.txt" <<'PY' || fail "the captions are boxes, not glyphs"
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
chunks, at = {}, 8
while at < len(data):
    n, kind = struct.unpack(">I4s", data[at:at + 8])
    chunks[kind] = chunks.get(kind, b"") + data[at + 8:at + 8 + n]
    at += 12 + n
width, height = struct.unpack(">II", chunks[b"IHDR"][:8])
raw = zlib.decompress(chunks[b"IDAT"])
rows = [raw[y * (width * 3 + 1) + 1:(y + 1) * (width * 3 + 1)] for y in range(height)]
rects = {l.split()[0]: list(map(int, l.split()[1:])) for l in open(sys.argv[2])}
def crop(name):  # the inside of a button, without its frame
    x, y, w, h = rects[name]
    return [rows[r][(x + 3) * 3:(x + w - 3) * 3] for r in range(y + 3, y + h - 3)]
sys.exit(0 if crop("Command1") != crop("Command3") else 1)  # 赤経+ and 赤緯+
PY
echo "win32 window: $(wc -l <"$work/win32.txt") controls where the Qt window has them, captions in glyphs"
