#!/usr/bin/env bash
# Runs the game binary offscreen and checks what it did.
#
#   run_game.sh cabinet|no_archive|credits|io_error MARELDON MBDTOOL JVS_BOARD PNG_PROBE
#
# cabinet: the placeholder data set written by the archive tool under
# MARELDON_ROOT, the I/O board simulated by the board tool on a pty. The run
# lasts a fixed number of the game's input cycles (one per step): the scene
# flow must reach "notice" (its I/O event shows on the wire), a coin put in
# must be taken off the board's counter, and frame 60 is captured: the
# screens' backdrop, the lit cube in the middle of its clear colour.
# no_archive: no data at all, the in-process simulated board; the archive's
# message must be given and the game must run on.
# credits: as cabinet, with a coin put in every second; frame 300 shows the
# credit overlay's "credit" and digit sprites in white over the backdrop.
# io_error: MARELDON_COM2 names a device that does not exist; the I/O error
# screen shows "I/O ERROR" in white on black and, raised while booting, ends
# the program by itself 900 steps later.
# The others end the program with SIGTERM, which SDL turns into a quit, as when
# the window is closed; the exit code must be 0 and no income log may exist.
set -uo pipefail
mode=$1 game=$2 mbdtool=$3 board=$4 probe=$5
tmp=$(mktemp -d)
repo=$(cd "$(dirname "$0")/../.." && pwd)
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$repo/scripts/lsan.supp:print_suppressions=0}"
game_pid= board_pid=
cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "$board_pid" ] && kill "$board_pid" 2>/dev/null
    exec 3>&- 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "--- game output"; cat "$tmp/game.log" 2>/dev/null | tail -40
    [ -f "$tmp/board.log" ] && { echo "--- board (last lines)"; tail -5 "$tmp/board.log"; }
    exit 1
}
# Waits until the command succeeds, at most $1 seconds.
wait_for() {
    local limit=$1; shift
    for ((i = 0; i < limit * 10; ++i)); do
        "$@" && return 0
        kill -0 "$game_pid" 2>/dev/null || fail "the game ended by itself"
        sleep 0.1
    done
    return 1
}
# The game's input cycles so far: each step asks node 1 for switches and coins.
cycles() { grep -c '^HOST [0-9]* E0 01 .* 20 02 02' "$tmp/board.log"; }
at_least_cycles() { [ "$(cycles)" -ge "$1" ]; }

root="$tmp/root"
mkdir -p "$root"
export MARELDON_ROOT="$root"
unset MARELDON_COM2 MARELDON_JVS_SENSE

if [ "$mode" = cabinet ] || [ "$mode" = credits ]; then
    "$mbdtool" write game "$root" >/dev/null || fail "mbdtool write game"
    mkfifo "$tmp/commands"
    "$board" --sense "$tmp/sense" <"$tmp/commands" >"$tmp/board.log" &
    board_pid=$!
    exec 3>"$tmp/commands"
    for ((i = 0; i < 50; ++i)); do grep -q '^SENSE' "$tmp/board.log" && break; sleep 0.1; done
    pty=$(sed -n 's/^PTY //p' "$tmp/board.log")
    [ -n "$pty" ] || fail "the board tool gave no pty"
    export MARELDON_COM2="$pty" MARELDON_JVS_SENSE="file:$tmp/sense"
    if [ "$mode" = credits ]; then
        export MARELDON_CAPTURE="300:$tmp/frame300.png"
    else
        export MARELDON_CAPTURE="60:$tmp/frame60.png"
    fi
elif [ "$mode" = io_error ]; then
    "$mbdtool" write game "$root" >/dev/null || fail "mbdtool write game"
    export MARELDON_COM2="$tmp/no-such-port"
    export MARELDON_CAPTURE="200:$tmp/frame200.png"
fi

: >"$tmp/game.log"
"$game" >"$tmp/game.log" 2>&1 &
game_pid=$!

if [ "$mode" = credits ]; then
    wait_for 60 at_least_cycles 1 || fail "the game did not talk to the board"
    # A coin every 0.2 s: under load the steps lag the frames, and the overlay must
    # stand whatever step frame 300 falls on.
    for ((i = 0; i < 600; ++i)); do
        [ -s "$tmp/frame300.png" ] && break
        echo "coin 1 0 1" >&3
        for ((j = 0; j < 2; ++j)); do
            kill -0 "$game_pid" 2>/dev/null || fail "the game ended by itself"
            sleep 0.1
        done
    done
    sleep 1
    [ -s "$tmp/frame300.png" ] || fail "frame 300 was not captured"
    # White ink of "credit" centred at (241, 625) and of the digit at (288, 625); the
    # backdrop's clear colour beside them.
    "$probe" "$tmp/frame300.png" 480x640 205,619-275,631~FFFFFF 283,619-293,631~FFFFFF 0,639=203050 \
        >"$tmp/probe.log" || fail "frame 300: $(cat "$tmp/probe.log")"
    echo "$(cycles) input cycles; frame 300: $(cat "$tmp/probe.log")"
elif [ "$mode" = io_error ]; then
    start=$SECONDS
    for ((i = 0; i < 1200; ++i)); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null && fail "the game did not end by itself"
    wait "$game_pid"
    code=$?
    game_pid=
    [ "$code" -eq 0 ] || fail "exit code $code"
    [ -s "$tmp/frame200.png" ] || fail "frame 200 was not captured"
    # Ink within the text's box (9 characters of 12 around x 240, 24 high from
    # y 320), black around it.
    "$probe" "$tmp/frame200.png" 480x640 186,320-294,344~FFFFFF 240,300=000000 100,332=000000 \
        380,332=000000 0,0=000000 479,639=000000 >"$tmp/probe.log" || fail "frame 200: $(cat "$tmp/probe.log")"
    echo "ended by itself after $((SECONDS - start)) s; frame 200: $(cat "$tmp/probe.log")"
    echo "PASS ($mode)"
    exit 0
elif [ "$mode" = cabinet ]; then
    wait_for 60 at_least_cycles 30 || fail "the game did not talk to the board"
    echo "coin 1 0 1" >&3
    # Boot is followed by the notice, whose event goes out as a broadcast.
    wait_for 90 grep -q '^HOST .* 05 03 E8' "$tmp/board.log" || fail "no notice event on the wire"
    start=$(cycles)
    wait_for 60 at_least_cycles $((start + 120)) || fail "the game stopped stepping"
    echo "coins 1 0" >&3
    wait_for 10 grep -q '^COINS' "$tmp/board.log" || fail "the board did not answer"
    grep -q '^COINS 0$' "$tmp/board.log" || fail "the coin was not taken: $(grep '^COINS' "$tmp/board.log")"
    [ -s "$tmp/frame60.png" ] || fail "frame 60 was not captured"
    # The lit cube in the middle (neither the clear colour nor black), the clear colour
    # in the corners.
    "$probe" "$tmp/frame60.png" 480x640 240,320!203050 240,320!000000 0,0=203050 479,0=203050 \
        0,639=203050 479,639=203050 >"$tmp/probe.log" || fail "frame 60: $(cat "$tmp/probe.log")"
    # Loaded: the one line about the archive is its summary, no refusal.
    grep 'MARELDON.mbd' "$tmp/game.log" | grep -qv ' models, ' && fail "the archive was refused"
    grep -q 'MARELDON.mbd: .* models, ' "$tmp/game.log" || fail "the archive was not loaded"
    echo "$(cycles) input cycles; $(grep -c '05 03 E8' "$tmp/board.log") notice event(s); frame 60: $(cat "$tmp/probe.log")"
else
    # The archive's message goes to stderr when no display can show it.
    wait_for 60 grep -q 'MARELDON.mbd' "$tmp/game.log" || fail "no message about the missing archive"
    sleep 2
    kill -0 "$game_pid" 2>/dev/null || fail "the game did not run on without its archive"
fi

kill -TERM "$game_pid"
for ((i = 0; i < 100; ++i)); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end on SIGTERM"
wait "$game_pid"
code=$?
game_pid=
[ "$code" -eq 0 ] || fail "exit code $code"
[ -d "$root/sv" ] || fail "no sv folder"
[ -e "$root/sv/MARELDON_income.log" ] && fail "an income log was written"
echo "PASS ($mode)"
exit 0
