#!/usr/bin/env bash
# Starts an installed copy as a user would, from the usr folder of a scratch root: the tools
# answer, and the program, started offscreen, seeds the user's program folder
# (~/.local/share/corvantis) from the installed data and makes its first address file there.
# The installed folders are made read-only first, as they are for a user, and made writable
# again at the end.
# Usage: run_installed.sh USR_DIR SCRATCH_DIR
set -euo pipefail
usr="$1"
scratch="$2"

chmod -R a-w "$usr"
trap 'chmod -R u+w "$usr"' EXIT
export HOME="$scratch/home"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME"

"$usr/bin/corvantis-db" --help >"$scratch/db-help.txt" 2>&1 || true
if ! grep -q "Usage: corvantis-db" "$scratch/db-help.txt"; then
    echo "corvantis-db --help did not show its usage:" >&2
    cat "$scratch/db-help.txt" >&2
    exit 1
fi
status=0
"$usr/bin/corvantis-batch" reports >/dev/null 2>&1 || status=$?
if [ "$status" -ne 2 ]; then
    echo "corvantis-batch without its options ended with $status instead of 2" >&2
    exit 1
fi
user="$HOME/.local/share/corvantis"
for f in sysdata/LBLTPL.DBF sysdata/CSZ.DBF help/corvantis.qhc help/corvantis.qch; do
    [ -f "$user/$f" ] || { echo "$user/$f was not seeded" >&2; exit 1; }
done

# Still running when the timeout ends it (status 124) means it started and waited for the user.
status=0
QT_QPA_PLATFORM=offscreen timeout 10 "$usr/bin/corvantis" >"$scratch/run.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
    echo "corvantis ended with status $status:" >&2
    cat "$scratch/run.log" >&2
    exit 1
fi
if ! ls "$user"/DATA/ | grep -qi '^add0001\.dbf$'; then
    echo "corvantis made no first address file in $user/DATA" >&2
    exit 1
fi
