#!/usr/bin/env bash
# Makes the Debian package from the build folder into a scratch folder and checks it: its
# control fields, that it holds exactly the files an installation holds, stripped programs
# without a library search path, lintian finds no error in it, and a copy unpacked into a
# scratch root (dpkg -x) runs and seeds the user's program folder from its own data.
# Usage: deb_test.sh CPACK BUILD_DIR EXPECTED_FILE_LIST
set -euo pipefail
cpack="$1"
build="$2"
expected="$3"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(mktemp -d)"
trap 'chmod -R u+w "$root"; rm -rf "$root"' EXIT

if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$root/pkg" >"$root/cpack.log" 2>&1; then
    echo "cpack failed:" >&2
    cat "$root/cpack.log" >&2
    exit 1
fi
debs=("$root"/pkg/corvantis_*.deb)
deb="${debs[0]}"
[ -f "$deb" ] || { echo "cpack made no corvantis_*.deb" >&2; exit 1; }
echo "made $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

fail() { echo "$*" >&2; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = corvantis ] || fail "Package is $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is $(field Architecture)"
[ "$(field Section)" = utils ] || fail "Section is $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Recommends)" = "glabels-data, hunspell-en-us, fonts-liberation" ] ||
    fail "Recommends is $(field Recommends)"
# The shared libraries the programs link, found by dpkg-shlibdeps, and the driver the help
# engine loads.
depends=", $(field Depends),"
for p in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6help6 libqt6printsupport6 libhunspell-1.7-0 libqt6sql6-sqlite; do
    [[ "$depends" == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $(field Depends)"
done
field Description | sed -n 2p | grep -q . || fail "no long description"

# The package holds what an installation holds, no more and no less.
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort >"$root/files.txt"
if ! diff -u "$expected" "$root/files.txt"; then
    fail "The package's files differ from $expected"
fi
# Everything in it belongs to root; folders are rwxr-xr-x.
if dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep .; then
    fail "files not owned by root"
fi
if dpkg-deb -c "$deb" | awk '/^d/ && $1 != "drwxr-xr-x"' | grep .; then
    fail "folders with other permissions than rwxr-xr-x"
fi

dpkg -x "$deb" "$root/root"
usr="$root/root/usr"
for program in corvantis corvantis-db corvantis-layout corvantis-batch; do
    elf="$usr/bin/$program"
    if readelf -S "$elf" | grep -qE '\.(symtab|debug_info)\b'; then
        fail "$program is not stripped"
    fi
    if readelf -d "$elf" | grep -qE '\((RPATH|RUNPATH)\)'; then
        fail "$program carries a library search path: $(readelf -d "$elf" | grep -E 'RPATH|RUNPATH')"
    fi
done

if command -v lintian >/dev/null; then
    status=0
    lintian --fail-on error --display-info "$deb" >"$root/lintian.txt" 2>&1 || status=$?
    cat "$root/lintian.txt"
    [ "$status" -eq 0 ] || fail "lintian found errors in the package"
    echo "lintian: $(grep -c '^E:' "$root/lintian.txt" || true) errors," \
        "$(grep -c '^W:' "$root/lintian.txt" || true) warnings"
else
    echo "lintian is not installed (scripts/install-deps.sh installs it); the package was not linted"
fi

"$here/run_installed.sh" "$usr" "$root"
echo "package ok"
