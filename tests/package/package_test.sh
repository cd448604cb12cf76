#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a scratch root (never into the system) and runs the
# unpacked program headless against two simulators, the way a user's installed copy runs:
# - the package is named korvane-settei_<version>_amd64.deb, depends on the Qt libraries found by
#   dpkg-shlibdeps, the Japanese font and the Qt platform plugins, and holds exactly the two
#   programs, their manual pages (which name every option --help gives), the menu entry, the
#   icons, the copyright file and a changelog whose latest entry is this version;
# - lintian reports no error and no warning on it;
# - the installed copy takes its port from siri.DAT in the user's data folder under HOME and its
#   COMn links from the same folder (port 2 there, so the simulator on COM2 must get all 30
#   queries and the one on COM1 none), saves a PNG of the window, and leaves no file beside
#   itself, in its data folder or elsewhere in HOME.
# usage: package_test.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1 build=$2 version=$3
. "$(dirname "$0")/lib.sh"

command -v dpkg-deb >/dev/null || fail "dpkg-deb is missing (package dpkg)"
command -v dpkg-shlibdeps >/dev/null || fail "dpkg-shlibdeps is missing (package dpkg-dev)"
command -v lintian >/dev/null || fail "lintian is missing (package lintian)"

# --- the package ------------------------------------------------------------------------------
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$work/out/korvane-settei_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$work/out" >&2; fail "no $(basename "$deb")"; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korvane-settei ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
echo "Depends: $depends"
depends_names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
for want in fonts-ipafont-gothic qt6-qpa-plugins libqt6core6 libqt6gui6 libqt6widgets6 \
  libqt6serialport6 libstdc++6 libc6; do
  grep -qxF "$want" <<<"$depends_names" || fail "Depends lacks $want"
done

expected="./usr/bin/korvane-settei
./usr/bin/korvane-sim
./usr/share/applications/korvane-settei.desktop
./usr/share/doc/korvane-settei/changelog.gz
./usr/share/doc/korvane-settei/copyright
./usr/share/icons/hicolor/64x64/apps/korvane-settei.png
./usr/share/icons/hicolor/scalable/apps/korvane-settei.svg
./usr/share/man/man1/korvane-settei.1.gz
./usr/share/man/man1/korvane-sim.1.gz"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$files" = "$expected" ] || { diff <(echo "$expected") <(echo "$files") >&2; fail "file list"; }

lintian_rc=0
lintian --allow-root --fail-on error,warning "$deb" >"$work/lintian.out" 2>&1 || lintian_rc=$?
if [ "$lintian_rc" -ne 0 ] || grep -q '^[EW]: ' "$work/lintian.out"; then
  cat "$work/lintian.out" >&2
  fail "lintian: exit $lintian_rc"
fi

# --- unpacked into a scratch root ---------------------------------------------------------------
root="$work/root"
dpkg -x "$deb" "$root"
desktop="$root/usr/share/applications/korvane-settei.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "the menu entry does not validate"
fi
grep -qx 'Exec=korvane-settei' "$desktop" || fail "the menu entry does not start korvane-settei"
grep -qx 'Icon=korvane-settei' "$desktop" || fail "the menu entry names another icon"
is_png "$root/usr/share/icons/hicolor/64x64/apps/korvane-settei.png" || fail "the icon is no PNG"
latest=$(zcat "$root/usr/share/doc/korvane-settei/changelog.gz" | head -1)
[[ "$latest" == "korvane-settei ($version) "* ]] || fail "the changelog's latest entry: $latest"

home="$work/home"
data="$home/.local/share/korvane-settei"
mkdir -p "$data" "$work/runtime"
chmod 700 "$work/runtime"

# Every option --help names is in the manual page.
for program in korvane-settei korvane-sim; do
  env HOME="$home" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
    "$root/usr/bin/$program" --help >"$work/$program.help" 2>/dev/null ||
    fail "$program --help failed"
  grep -q -- '--help' "$work/$program.help" || fail "$program --help names no option"
  manual=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
  for option in $(grep -o -- '--[a-z][a-z-]*' "$work/$program.help" | sort -u); do
    grep -qF -- "$option" <<<"$manual" || fail "the manual page of $program lacks $option"
  done
done

printf ' 2 \r\n' >"$data/siri.DAT"
cp "$data/siri.DAT" "$work/siri.DAT.before"
start_sim "$root/usr/bin/korvane-sim" "$data/COM1" "$work/sim1.log"
start_sim "$root/usr/bin/korvane-sim" "$data/COM2" "$work/sim2.log"

(cd "$root" && find . | sort) >"$work/root.before"
png="$work/window.png"
rc=0
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DATA_DIRS -u QT_LOGGING_RULES \
  HOME="$home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
  timeout 90 "$root/usr/bin/korvane-settei" --read-and-screenshot "$png" \
  >"$work/app.out" 2>"$work/app.err" || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/app.out" "$work/app.err" >&2; fail "the program ended with $rc"; }

[ "$(cat "$work/app.out")" = "$png" ] || fail "it printed '$(cat "$work/app.out")', not the PNG"
is_png "$png" || fail "no PNG of the window"
n2=$(wc -l <"$work/sim2.log")
[ "$n2" -eq 30 ] || { cat "$work/sim2.log" >&2; fail "COM2 got $n2 queries, not 30"; }
grep -Eqv '^[0-9.]+ :[^#]*#$' "$work/sim2.log" && fail "COM2 got something that is no command"
[ ! -s "$work/sim1.log" ] || fail "COM1 was used: siri.DAT was not read from $data"
grep -q 'korvane\.serial' "$work/app.err" && fail "the traffic log is on without its rule"

(cd "$root" && find . | sort) >"$work/root.after"
diff "$work/root.before" "$work/root.after" >&2 || fail "the program wrote beside itself"
[ "$(ls -A "$data" | tr '\n' ' ')" = "COM1 COM2 siri.DAT " ] ||
  { ls -A "$data" >&2; fail "files appeared in $data"; }
cmp -s "$data/siri.DAT" "$work/siri.DAT.before" || fail "siri.DAT changed on a read"
stray=$(find "$home" \( -name siri.DAT -o -name SetData.txt \) ! -path "$data/siri.DAT")
[ -z "$stray" ] || fail "local files outside the data folder: $stray"
echo "package: $(basename "$deb") unpacked, read 30 settings, files in $data only"
