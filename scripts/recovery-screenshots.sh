#!/usr/bin/env bash
# The recovery copy as an operator meets it: an edit, the editor killed before any
# save, the next start asking whether to bring the edit back, and the canvas after
# "예". Screenshots go to build/screenshots/recovery.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD work=$top/build/recovery-work shots=$top/build/screenshots/recovery
. scripts/screenshot-session.sh

cd "$work/room"
"$top/build/src/app/VeradaVodirev" demo 1 0 &
editor_pid=$!
sleep 5
# A drag of the first icon far to the right and down.
xdotool mousemove 60 90 mousedown 1 mousemove 300 300 mousemove 520 420 mouseup 1
sleep 4  # the copy is written a couple of seconds after the change
shot edited
kill -9 "$editor_pid"; wait "$editor_pid" 2>/dev/null || true
ls -la .vodirev-recovery

"$top/build/src/app/VeradaVodirev" demo 1 0 &
editor_pid=$!
sleep 5
shot asked
xdotool key Return
sleep 2
shot restored
echo "Screenshots in $shots"
