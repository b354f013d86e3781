#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program as its desktop
# entry does, with "bypass", on the X server of the test script: it must find its sounds and
# help document in its own folder, open its board and keep running until it is closed.
#   installed_program_starts.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$prefix" "$home"' EXIT
pid=

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in lib/pucktally/pucktally lib/pucktally/buzzer.wav lib/pucktally/horn.wav \
    lib/pucktally/pucktallyhelpfile.rtf bin/pucktally \
    share/applications/org.pucktally.Pucktally.desktop \
    share/metainfo/org.pucktally.Pucktally.metainfo.xml \
    share/icons/hicolor/16x16/apps/pucktally.png share/icons/hicolor/256x256/apps/pucktally.png; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done

# The desktop entry's command, found on the PATH of the installed prefix.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/org.pucktally.Pucktally.desktop")
[ -n "$exec_line" ] || { echo "no Exec line"; exit 1; }
HOME=$home XDG_CONFIG_HOME=$home/.config PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM=xcb \
    $exec_line bypass >"$home/out.txt" 2>&1 &
pid=$!

# The board window appears on the X server. The window tree is read while the program is still
# making and dropping windows of its own, so one reading may fail or miss it: it is read again
# until it shows the board or the time is up.
board_shown() {
    local tree
    tree=$(xwininfo -root -tree 2>/dev/null) || true
    grep -q '"Pucktally' <<<"$tree"
}
wait_for_board() {
    for _ in $(seq 300); do # a busy machine may take a while
        board_shown && return 0
        kill -0 "$pid" 2>/dev/null || { echo "the program ended:"; cat "$home/out.txt"; exit 1; }
        sleep 0.1
    done
    echo "no board window"
    cat "$home/out.txt"
    exit 1
}
wait_for_board
# And it stays up.
sleep 1
kill -0 "$pid" 2>/dev/null || { echo "the program ended:"; cat "$home/out.txt"; exit 1; }
wait_for_board
echo "installed program runs: $(readlink "$prefix/bin/pucktally")"
