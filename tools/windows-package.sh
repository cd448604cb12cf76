#!/usr/bin/env bash
# The Windows download: korvane-settei-<version>-windows-x64.zip in build-windows/, holding the
# window program, the console program, the Japanese read-me and the licence. Run after
# tools/windows-check.sh has built the programs (it calls this script itself).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build-windows
version=$(sed -n 's/^project(korvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=$build/korvane-settei-$version-windows-x64.zip
python3 - "$zip" "$build/korvane-settei.exe" "$build/korvane-settei-cli.exe" \
  "packaging/windows/お読みください.txt" LICENSE <<'PY'
import os, sys, zipfile
target, *files = sys.argv[1:]
with zipfile.ZipFile(target + ".part", "w", zipfile.ZIP_DEFLATED) as z:
    for f in files:
        name = "LICENSE.txt" if os.path.basename(f) == "LICENSE" else os.path.basename(f)
        data = open(f, "rb").read()
        if name.endswith(".txt"):  # Notepad reads the read-me as UTF-8 and CR LF
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
            if name != "LICENSE.txt":
                data = b"\xef\xbb\xbf" + data
        z.writestr("korvane-settei/" + name, data)
os.replace(target + ".part", target)
PY
echo "$zip"
