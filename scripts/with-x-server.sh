#!/usr/bin/env bash
# Runs a command with a private X server (Xvfb) on the first free display, so that tests with
# real windows never meet the user's desktop or another run's server. DISPLAY tells the command
# where it is. The server is stopped when the command ends, however it ends.
#
#   scripts/with-x-server.sh COMMAND [ARGS...]
set -euo pipefail

# The server writes the display it took to the file; -noreset keeps it from resetting when its
# last client leaves, which would refuse a client connecting then.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$display_file"' EXIT
# A loaded machine may take a while to start it.
for _ in $(seq 300); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
if [ ! -s "$display_file" ]; then
    echo "with-x-server.sh: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=:$(head -n 1 "$display_file")

set +e
"$@"
status=$?
set -e
exit $status
