#!/usr/bin/env bash
# Installs the build into a scratch root and checks it: the list of installed files, the
# desktop entry and the AppStream metadata validate, and an installed program started by a
# user seeds that user's program folder (~/.local/share/corvantis) from the installed data.
# Usage: install_test.sh BUILD_DIR EXPECTED_FILE_LIST
set -euo pipefail
build="$1"
expected="$2"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT

DESTDIR="$root/stage" cmake --install "$build" --prefix /usr >"$root/install.log"
(cd "$root/stage" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$root/files.txt"
if ! diff -u "$expected" "$root/files.txt"; then
    echo "The installed files differ from $expected" >&2
    exit 1
fi

usr="$root/stage/usr"
desktop-file-validate "$usr/share/applications/org.corvantis.Corvantis.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/org.corvantis.Corvantis.metainfo.xml"
for size in 16 48 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/corvantis.png"
    # A PNG whose header names the size it is installed as.
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ]
    [ "$(od -An -tu1 -j 16 -N 8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')" = "${size}x${size}" ]
done
for page in corvantis corvantis-db corvantis-layout corvantis-batch; do
    man -l "$usr/share/man/man1/$page.1.gz" >/dev/null
done

# A user starting the installed copy.
"$(dirname "$0")/../packaging/run_installed.sh" "$usr" "$root"
echo "install ok"
