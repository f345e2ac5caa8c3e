#!/usr/bin/env bash
# Runs the game binary offscreen and checks what it did.
#
#   run_game.sh cabinet|no_archive|stop_while_waiting|demo|credits|io_error|testmode[_input|_bars|_grid]|
#               stage1|stage3|stage6|stage1_fire|stage1_wave|stage1_bomb|shipselect|shipselect_stage|tutorial
#               MARELDON MBDTOOL JVS_BOARD PNG_PROBE
#
# The runs follow the game's steps, never the clock: a run with the board tool
# sets MARELDON_JVS_LOCKSTEP=1, so every step is one input cycle (one switch read
# of node 0, which the board counts), holds switches for a count of cycles
# ("hold"; the board says "HELD ... FIRST-LAST" when it lets go) and waits for
# cycle counts or the game's debug log (scene "NAME" built, ship select phases)
# before it acts. Captures are named by step (MARELDON_CAPTURE=step:N:FILE), by a
# log line and the steps after it (log:TEXT+N:FILE), or fired by the run once the
# state it wants stands (signal:FILE and SIGUSR1). Seconds only bound how long a
# run may wait before it fails.
#
# cabinet: the placeholder data set written by the archive tool under
# MARELDON_ROOT, the I/O board simulated by the board tool on a pty. The run
# lasts a fixed number of the game's input cycles (one per step): the scene
# flow must reach "notice" (its I/O event shows on the wire), a coin put in
# node 0 (the board tool counts nodes from 0 and refuses any it lacks) must be
# taken off the board's counter, and the picture 30 steps into the notice is
# captured: the "NOTICE" picture's colour at its centre and the clear colour
# around it.
# no_archive: no data at all, the in-process simulated board; the archive's
# message must be given and the game must run on for 120 steps (captured).
# demo: the placeholder data set and the in-process simulated board; the picture
# 73 steps into "demo" must show the colour bars across the whole screen.
# stop_while_waiting: the board's pty never answers and its sense line cannot
# be read, so start-up waits for the board; SIGTERM 1 s after the start must end
# the program with exit code 0 within 0.5 s.
# credits: as cabinet, with a coin put in once the first logo is built; it breaks
# into the logos, so 60 steps after the title-start screen is built it shows
# ("titleback" in the corners, the title's colour at its centre) under the credit
# overlay's "credit" and digit sprites in white.
# io_error: MARELDON_COM2 names a device that does not exist; the I/O error
# screen shows "I/O ERROR" in white on black at step 200 and, raised while
# booting, ends the program by itself 900 steps later.
# testmode: as cabinet; the TEST switch opens the test mode, whose menu is
# captured 30 steps after it is built (white entries, the first one red); then,
# through the board's player 1 switches, each press held for 4 cycles, the game
# configuration page raises the difficulty and saves it on YES (the 48-byte
# settings file is rewritten), and EXIT(RESET) ends the program by itself with
# exit code 0.
# testmode_input, testmode_bars, testmode_grid: the test mode's input test with
# player 1's START held, its colour bars, and its grid after a button, each
# captured (SIGUSR1) once the last press has been let go for 8 cycles.
# stage1, stage3, stage6: the placeholder data set, the in-process simulated board,
# MARELDON_STAGE=N straight into stage N, step 60 captured while the field still
# stands where the placeholder puts it (tools/archive/PlaceholderScenery.h). The
# stage camera looks down from 25 over the field, 47.8 px a unit on the ground
# (320 / (25 tan 15 deg)), 54.3 px at height 3, the origin at (240, 320), x to the
# right and z up. stage1: the ground's checker (a light cell at x 0.5, z -1.5 and a
# dark one at -0.5, -1.5), the tower's top face (x -3.1 to -1.9, z -0.1 to 1.1,
# height 3) inside its edges at (71.7, y) and (x, 325.4) and the ground 3 px outside
# them, the "unseen" block's place (0.2, 1.5) showing the ground and its magenta
# nowhere, and the tower's shadow (on the light cell at -2.5, 1.6, cast toward +z)
# at least 20 darker than that cell lit (at -1.5, 2.5). stage3: the water plane
# right of x 0.5 shows the sea floor, no ground. stage6, whose timer runs from the
# start: the head-up display's "1P", "TIME", the timer's two digits, the score's
# "0" and the multiplier's digit in their placeholder colours.
# stage1_wave: as stage1, step 180 captured: the stage's first wave, five still
# enemies in saturated colours (tools/archive/PlaceholderKazeWave.h), each colour
# where the camera puts its box's top face.
# stage1_fire: MARELDON_STAGE=1 with the board tool on a pty, the whole input
# scheduled by cycle before the start: once the ship's entry flight is over (the
# stage starts within 100 cycles), player 1 holds right for 70 cycles from cycle
# 200, to the bound (x 5), then taps button 1 (4 cycles in 12: a held button fires
# only 0.3 s) and step 330 is captured. The camera follows a lone ship sideways, so
# the ship's lit body colour sits at or right of the screen's middle with the
# field's right edge (x 6; 527 px at the entry position, off screen) within 120 px
# right of it, and the main gun's red shots in the column above it.
# stage1_bomb: as stage1_fire to the bound and tapping button 1, then button 2 (the
# bomb) with left held from cycle 313, and step 325 captured while the bomb runs:
# the ship steered left of where the bomb started, the shots it fired before the
# bomb still flying in the column it left.
# shipselect: as cabinet, with coins and start presses from player 1 until the
# ship select runs (MARELDON_LOG=debug: it says so in the log); 100 steps into its
# ship phase (1008 steps): "SelectYourFighter", the first ship's name and player
# 1's icon in their placeholder colours.
# tutorial and shipselect_stage (MARELDON_LOG=debug) follow the scenes in the
# game's debug log: one coin, then start presses, each followed by 32 input
# cycles, until the tutorial is built; the join it follows comes 22 steps before
# it, so no press lands in the tutorial.
# tutorial: the picture 170 steps into the tutorial (1800 steps), past its first
# stage second: the lever and the message in their placeholder colours.
# shipselect_stage: start presses until the ship select takes input, then one press
# of button 1 confirms the ship: 100 steps into the first-stage phase (1008 steps
# from the confirm): both panels show their previews' landscapes, ISLAND (chosen)
# lit, VOLCANO at half its colours.
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
    [ -n "${KEEP_E2E:-}" ] && cp "$tmp"/*.png "$tmp"/game.log "$KEEP_E2E"/ 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "--- game output (last lines)"; tail -60 "$tmp/game.log" 2>/dev/null
    if [ -f "$tmp/board.log" ]; then
        echo "--- board: answers to commands"; grep -v '^HOST ' "$tmp/board.log"
        echo "--- board: last host frames"; grep '^HOST ' "$tmp/board.log" | tail -20
    fi
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
# Holds that the board has let go of so far.
held() { grep -c '^HELD ' "$tmp/board.log"; }
at_least_held() { [ "$(held)" -ge "$1" ]; }
logged() { grep -q "$1" "$tmp/game.log"; }
# Asks for the picture after the step running now (MARELDON_CAPTURE=signal:FILE)
# and waits until it is written.
capture_now() {
    rm -f "$1"
    kill -USR1 "$game_pid"
    wait_for 60 test -s "$1" || fail "no capture after SIGUSR1"
}

root="$tmp/root"
mkdir -p "$root"
export MARELDON_ROOT="$root"
unset MARELDON_COM2 MARELDON_JVS_SENSE

if [ "$mode" = demo ]; then
    "$mbdtool" write game "$root" >/dev/null || fail "mbdtool write game"
    export MARELDON_LOG=debug MARELDON_CAPTURE="log:\"demo\" built+73:$tmp/demo.png"
fi
front_end() { [ "$mode" = shipselect ] || [ "$mode" = shipselect_stage ] || [ "$mode" = tutorial ]; }
# stage1_fire: the input cycle after which the entry flight is surely over (the
# stage starts within 100); how many cycles right is held; the step captured.
fire_move_at=200 fire_move=70 fire_step=330
# stage1_bomb: as stage1_fire up to the bomb, which is pressed with left at this
# cycle and held so many; the step captured while it runs.
bomb_at=313 bomb_hold=40 bomb_step=325
fire_run() { [ "$mode" = stage1_fire ] || [ "$mode" = stage1_bomb ]; }
# stage1_wave: the step captured, the first wave (in view from second 2) standing.
wave_step=180
if [ "$mode" = cabinet ] || [ "$mode" = credits ] || [ "$mode" = stop_while_waiting ] || [ "${mode%%_*}" = testmode ] ||
    front_end || fire_run; then
    [ "$mode" != stop_while_waiting ] && { "$mbdtool" write game "$root" >/dev/null || fail "mbdtool write game"; }
    mkfifo "$tmp/commands"
    "$board" --sense "$tmp/sense" <"$tmp/commands" >"$tmp/board.log" &
    board_pid=$!
    exec 3>"$tmp/commands"
    for ((i = 0; i < 50; ++i)); do grep -q '^SENSE' "$tmp/board.log" && break; sleep 0.1; done
    pty=$(sed -n 's/^PTY //p' "$tmp/board.log")
    [ -n "$pty" ] || fail "the board tool gave no pty"
    export MARELDON_COM2="$pty"
    if [ "$mode" = cabinet ] || [ "$mode" = credits ] || [ "${mode%%_*}" = testmode ] || front_end || fire_run; then
        export MARELDON_JVS_SENSE="file:$tmp/sense" MARELDON_JVS_LOCKSTEP=1 MARELDON_LOG=debug
        if fire_run; then
            export MARELDON_STAGE=1
            export MARELDON_CAPTURE="step:$fire_step:$tmp/fire.png"
            [ "$mode" = stage1_bomb ] && export MARELDON_CAPTURE="step:$bomb_step:$tmp/fire.png"
        elif [ "$mode" = shipselect ]; then
            export MARELDON_CAPTURE="log:ship select: phase 0+100:$tmp/frame.png"
        elif [ "$mode" = tutorial ]; then
            export MARELDON_CAPTURE="log:the tutorial stage replays+170:$tmp/frame.png"
        elif [ "$mode" = shipselect_stage ]; then
            export MARELDON_CAPTURE="log:ship select: phase 1+100:$tmp/frame.png"
        elif [ "$mode" = credits ]; then
            export MARELDON_CAPTURE="log:\"titlestart\" built+60:$tmp/frame300.png"
        elif [ "$mode" = testmode ]; then
            export MARELDON_CAPTURE="log:\"testmode\" built+30:$tmp/frame240.png"
        elif [ "${mode%%_*}" = testmode ]; then
            export MARELDON_CAPTURE="signal:$tmp/frame600.png"
        else
            export MARELDON_CAPTURE="log:\"notice\" built+30:$tmp/frame60.png"
        fi
        # The runs of the stage scheduled by cycle, before the game starts.
        if [ "$mode" = stage1_fire ]; then
            echo "hold 0 0 20 $fire_move $fire_move_at" >&3
            for ((at = fire_move_at + fire_move + 2; at < fire_step; at += 12)); do echo "hold 0 0 40 4 $at" >&3; done
        elif [ "$mode" = stage1_bomb ]; then
            echo "hold 0 0 20 $fire_move $fire_move_at" >&3
            for ((at = fire_move_at + fire_move + 2; at < bomb_at - 4; at += 12)); do echo "hold 0 0 40 4 $at" >&3; done
            echo "hold 0 0 90 $bomb_hold $bomb_at" >&3
        fi
    else
        # The default sense line (CTS) cannot be read on a pty: the bus keeps
        # resetting, as with a board that is switched off.
        echo "silent 1" >&3
    fi
elif [ "${mode#stage}" != "$mode" ]; then
    "$mbdtool" write game "$root" >/dev/null || fail "mbdtool write game"
    stage=${mode#stage} stage=${stage%%_*}
    export MARELDON_STAGE="$stage"
    capture_step=60
    [ "$mode" = stage1_wave ] && capture_step=$wave_step
    export MARELDON_CAPTURE="step:$capture_step:$tmp/stage.png"
elif [ "$mode" = io_error ]; then
    "$mbdtool" write game "$root" >/dev/null || fail "mbdtool write game"
    export MARELDON_COM2="$tmp/no-such-port"
    export MARELDON_CAPTURE="step:200:$tmp/frame200.png"
elif [ "$mode" = no_archive ]; then
    export MARELDON_CAPTURE="step:120:$tmp/step120.png"
fi
# Every command the script sent must have been taken.
refused() { grep '^ERR' "$tmp/board.log" 2>/dev/null; }

: >"$tmp/game.log"
started=$(date +%s%N)
if [ "$mode" = stop_while_waiting ]; then
    # This run times the stop; the sanitizers' leak scan at exit is the other runs' job
    # and, on a loaded machine, takes longer than the stop itself.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
fi
"$game" >"$tmp/game.log" 2>&1 &
game_pid=$!

# Holds player 1's switches (hex mask: 1 start, 8 down, 10 left, 20 right, 40
# button 1, 80 button 2) for 4 input cycles, that is 4 steps, then waits until
# they have been let go for 4 more.
press() {
    local done at
    done=$(held)
    echo "hold 0 0 $1 4" >&3
    wait_for 60 at_least_held $((done + 1)) || fail "the game stopped stepping"
    at=$(cycles)
    wait_for 60 at_least_cycles $((at + 4)) || fail "the game stopped stepping"
}
# Waits at most $1 seconds for the game to end by itself (else fails with $2); it
# must end with exit code 0.
wait_own_end() {
    local code
    for ((i = 0; i < $1 * 10; ++i)); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null && fail "$2"
    wait "$game_pid"
    code=$?
    game_pid=
    [ "$code" -eq 0 ] || fail "exit code $code"
}
# Holds the TEST switch for 4 cycles once the game talks to the board, and waits
# for the test mode.
enter_test_mode() {
    wait_for 60 at_least_cycles 30 || fail "the game did not talk to the board"
    echo "hold 0 test 0 4" >&3
    wait_for 60 logged '"testmode" built' || fail "no test mode"
}

if [ "$mode" = credits ]; then
    wait_for 120 logged '"logo1" built' || fail "no first logo"
    echo "coin 0 0 1" >&3
    wait_for 120 logged '"titlestart" built' || fail "the coin did not break into the logos"
    wait_for 120 test -s "$tmp/frame300.png" || fail "the title start was not captured"
    [ -z "$(refused)" ] || fail "the board refused: $(refused)"
    # White ink of "credit" centred at (241, 625) and of the digit at (288, 625);
    # "titleback" in the corners and the title at (240, 270), near their colours
    # (the sheet's texture keeps 4 bits a channel).
    "$probe" "$tmp/frame300.png" 480x640 205,619-275,631~FFFFFF 283,619-293,631~FFFFFF 0,0-0,0~224433 \
        479,0-479,0~224433 240,270-240,270~EEAA22 \
        >"$tmp/probe.log" || fail "title start: $(cat "$tmp/probe.log")"
    echo "$(cycles) input cycles; $(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
elif [ "$mode" = tutorial ] || [ "$mode" = shipselect_stage ]; then
    wait_for 60 at_least_cycles 30 || fail "the game did not talk to the board"
    echo "coin 0 0 1" >&3
    # Presses start, then lets 32 more input cycles pass.
    start_and_wait() {
        local at
        press 1
        at=$(cycles)
        wait_for 30 at_least_cycles $((at + 32)) || fail "the game stopped stepping"
    }
    for ((i = 0; i < 60; ++i)); do
        logged 'TutorialScreen: the tutorial stage replays' && break
        start_and_wait
    done
    logged 'TutorialScreen: the tutorial stage replays' || fail "no tutorial"
    if [ "$mode" = shipselect_stage ]; then
        # The skip; the shutter after the tutorial ignores start.
        for ((i = 0; i < 60; ++i)); do
            logged 'ship select: phase 0' && break
            start_and_wait
        done
        wait_for 30 logged 'ship select: phase 0, inputs taken' || fail "the ship select took no input"
        press 40
        wait_for 30 logged 'ship select: phase 1' || fail "the confirm was not taken"
        echo "$(grep 'ship select: phase 1' "$tmp/game.log")"
        # ISLAND's landscape lit in its panel, VOLCANO's at half colour in its own.
        checks=(30,130-210,350~136725 270,130-450,350~3D0E09)
    else
        # The lever (every lever sprite's colour, its corner and middle) and the
        # message's block (its corners, clear of the text), shown past the first second.
        checks=(282,490-290,498~11CCEE 300,540-340,560~11CCEE 20,72-30,80~EE66AA 440,150-460,160~EE66AA)
    fi
    wait_for 120 test -s "$tmp/frame.png" || fail "the frame was not captured"
    [ -z "$(refused)" ] || fail "the board refused: $(refused)"
    "$probe" "$tmp/frame.png" 480x640 "${checks[@]}" >"$tmp/probe.log" || fail "frame: $(cat "$tmp/probe.log")"
    echo "$(cycles) input cycles; $(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
elif front_end; then
    wait_for 60 at_least_cycles 30 || fail "the game did not talk to the board"
    echo "coin 0 0 1" >&3
    # Start presses until the ship select runs: the title start takes one after its
    # 31 steps, the tutorial one after its 15.
    for ((i = 0; i < 200; ++i)); do
        grep -q 'ship select: phase 0' "$tmp/game.log" && break
        echo "coin 0 0 1" >&3
        press 1
    done
    wait_for 120 test -s "$tmp/frame.png" || fail "the ship phase was not captured"
    [ -z "$(refused)" ] || fail "the board refused: $(refused)"
    # "SelectYourFighter" (left of its text), the first ship's name block (left of
    # its text) and player 1's icon (its corner).
    checks=(114,20-118,24~EEDD11 12,592-20,596~2244EE 194,586-197,589~2244EE)
    "$probe" "$tmp/frame.png" 480x640 "${checks[@]}" >"$tmp/probe.log" || fail "frame: $(cat "$tmp/probe.log")"
    echo "$(cycles) input cycles; $(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
elif fire_run; then
    # Everything was scheduled by cycle before the start (see below); the run only waits.
    wait_for 120 test -s "$tmp/fire.png" || fail "the step was not captured"
    logged "development start: stage 1 " || fail "the start override was not taken"
    [ -z "$(refused)" ] || fail "the board refused: $(refused)"
    if [ "$mode" = stage1_bomb ]; then
        # The bomb started with the ship at the bound (body from x 228, shots in its
        # column, 230-250); steered left, its body shows left of 227 (in one of its
        # blues: the bomb hides the scenery), and the shots fired before the bomb fly
        # on right of its column.
        checks=(200,470-226,505~3866AC,4074C1,80C0FF 252,100-330,420~FF0000)
        "$probe" "$tmp/fire.png" 480x640 "${checks[@]}" >"$tmp/probe.log" ||
            fail "step $bomb_step: $(cat "$tmp/probe.log")"
        echo "$(grep '^HELD' "$tmp/board.log" | tr '\n' ' ')$(grep 'bomb:\|capture:' "$tmp/game.log" | tr '\n' ' '): $(cat "$tmp/probe.log")"
    else
        # The body (lit, and lit with the protection blink) centred or right of it, black
        # past the field's edge beside it, red shots above it.
        checks=(234,480-300,500~4074C1,80C0FF 300,470-360,500~000000 228,40-252,440~FF0000)
        "$probe" "$tmp/fire.png" 480x640 "${checks[@]}" >"$tmp/probe.log" ||
            fail "step $fire_step: $(cat "$tmp/probe.log")"
        echo "$(grep '^HELD' "$tmp/board.log" | head -1)$(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
    fi
elif [ "$mode" = io_error ]; then
    start=$SECONDS
    wait_own_end 120 "the game did not end by itself"
    [ -s "$tmp/frame200.png" ] || fail "step 200 was not captured"
    # Ink within the text's box (9 characters of 12 around x 240, 24 high from
    # y 320), black around it.
    "$probe" "$tmp/frame200.png" 480x640 186,320-294,344~FFFFFF 240,300=000000 100,332=000000 \
        380,332=000000 0,0=000000 479,639=000000 >"$tmp/probe.log" || fail "step 200: $(cat "$tmp/probe.log")"
    echo "ended by itself after $((SECONDS - start)) s; step 200: $(cat "$tmp/probe.log")"
    echo "PASS ($mode)"
    exit 0
elif [ "${mode%%_*}" = testmode ] && [ "$mode" != testmode ]; then
    enter_test_mode
    case $mode in
    testmode_input) press 8; press 40; echo "switches 0 0 1" >&3 ;;
    testmode_bars) press 40 ;;
    testmode_grid) press 40; press 40 ;;
    esac
    at=$(cycles)
    wait_for 60 at_least_cycles $((at + 8)) || fail "the game stopped stepping"
    capture_now "$tmp/frame600.png"
    case $mode in
    testmode_input)
        # Player 1's START reads ON in yellow; its BUTTON 1 and player 2's START OFF in blue.
        checks=(150,192-200,216~FFFF00 150,216-200,240~0000FF 390,192-440,216~0000FF 390,192-440,216!FFFF00) ;;
    testmode_bars)
        # Band 1: column 0 full red, column 15 a sixteenth of it; band 5 column 8 yellow.
        checks=(30,76=FF0000 440,60-460,90~100000 254,300=FFFF00 30,300=FF0000 0,0=000000) ;;
    testmode_grid)
        # White lines at x 31 and y 31, green on each corner's pixel, red one further in.
        checks=(30,100-32,100~FFFFFF 100,30-100,32~FFFFFF 0,0-3,3~00FF00 1,1-4,4~FF0000
            476,0-479,3~00FF00 0,636-3,639~00FF00 476,636-479,639~00FF00 476,636-479,639~FF0000) ;;
    esac
    "$probe" "$tmp/frame600.png" 480x640 "${checks[@]}" >"$tmp/probe.log" || fail "capture: $(cat "$tmp/probe.log")"
    echo "$(cycles) input cycles; $(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
elif [ "$mode" = testmode ]; then
    enter_test_mode
    wait_for 120 test -s "$tmp/frame240.png" || fail "the menu was not captured"
    # The first entry in red in its band, the second in white, the title in white.
    "$probe" "$tmp/frame240.png" 480x640 170,48-310,72~FF0000 170,72-310,96~FFFFFF 150,4-330,28~FFFFFF \
        170,48-310,72!FFFFFF >"$tmp/probe.log" || fail "menu: $(cat "$tmp/probe.log")"
    [ -s "$root/sv/MARELDON.config" ] && cp "$root/sv/MARELDON.config" "$tmp/config.before"
    # GAME CONFIGURATION: difficulty + 1, RETURN, button, YES, button.
    for mask in 8 8 8 8 40 20 8 8 8 40 20 40; do press "$mask"; done
    wait_for 10 test -s "$root/sv/MARELDON.config" || fail "no settings file"
    [ "$(stat -c %s "$root/sv/MARELDON.config")" -eq 48 ] || fail "the settings file is not 48 bytes"
    [ -f "$tmp/config.before" ] && cmp -s "$tmp/config.before" "$root/sv/MARELDON.config" &&
        fail "the settings file was not rewritten"
    # The cursor stays on GAME CONFIGURATION: three down to EXIT(RESET).
    for mask in 8 8 8; do press "$mask"; done
    echo "switches 0 0 40" >&3
    wait_own_end 30 "EXIT(RESET) did not end the program"
    [ -z "$(refused)" ] || fail "the board refused: $(refused)"
    echo "$(cycles) input cycles; $(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
    echo "PASS ($mode)"
    exit 0
elif [ "$mode" = cabinet ]; then
    wait_for 60 at_least_cycles 30 || fail "the game did not talk to the board"
    echo "coin 0 0 1" >&3
    # Boot is followed by the notice, whose event goes out as a broadcast.
    wait_for 90 grep -q '^HOST .* 05 03 E8' "$tmp/board.log" || fail "no notice event on the wire"
    start=$(cycles)
    wait_for 60 at_least_cycles $((start + 120)) || fail "the game stopped stepping"
    echo "coins 0 0" >&3
    wait_for 10 grep -q '^COINS\|^ERR' "$tmp/board.log" || fail "the board did not answer"
    [ -z "$(refused)" ] || fail "the board refused: $(refused)"
    grep -q '^COINS 0$' "$tmp/board.log" || fail "the coin was not taken: $(grep '^COINS' "$tmp/board.log")"
    # Taken off by the game: one decrement of one coin on slot 1.
    [ "$(grep -c '^HOST .* 30 01 00 01' "$tmp/board.log")" -eq 1 ] ||
        fail "not one decrement of the coin: $(grep -c '^HOST .* 30 01 00 01' "$tmp/board.log")"
    wait_for 60 test -s "$tmp/frame60.png" || fail "the notice was not captured"
    # The "NOTICE" picture's colour (near it: the sheet's texture keeps 4 bits a
    # channel) at its centre (240, 192), the clear colour (ARGB 1) in the corners.
    "$probe" "$tmp/frame60.png" 480x640 240,192-240,192~3366CC 0,0=000001 479,0=000001 0,639=000001 479,639=000001 \
        >"$tmp/probe.log" || fail "notice: $(cat "$tmp/probe.log")"
    # Captures are the picture as the player sees it, upright 480x640, whatever the
    # window or display: a test pattern marked in three corners, drawn under every
    # screen rotation in a landscape window and full screen, must come out as drawn.
    pattern="$(dirname "$probe")/capture-pattern"
    for display in "640x480 1" "1024x768 0"; do
        read -r size windowed <<<"$display"
        if [ "$windowed" = 1 ]; then
            "$pattern" "$tmp/pattern-$size" "$size" 1 >"$tmp/pattern.log" 2>&1
        else
            env -u MARELDON_WINDOWED "$pattern" "$tmp/pattern-$size" "$size" 0 >"$tmp/pattern.log" 2>&1
        fi || fail "capture pattern in $size: $(tail -3 "$tmp/pattern.log")"
        for rotation in 0 1 2 3; do
            "$probe" "$tmp/pattern-$size-$rotation.png" 480x640 10,10=FF0000 469,10=00FF00 10,629=0000FF \
                469,629=404040 240,320=404040 >"$tmp/pattern-probe.log" ||
                fail "pattern captured in $size, rotation $rotation: $(cat "$tmp/pattern-probe.log")"
        done
    done
    # Loaded: the one line about the archive is its summary, no refusal.
    grep 'MARELDON.mbd' "$tmp/game.log" | grep -qv ' models, ' && fail "the archive was refused"
    grep -q 'MARELDON.mbd: .* models, ' "$tmp/game.log" || fail "the archive was not loaded"
    echo "$(cycles) input cycles; $(grep -c '05 03 E8' "$tmp/board.log") notice event(s); $(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
elif [ "${mode#stage}" != "$mode" ]; then
    wait_for 120 test -s "$tmp/stage.png" || fail "step $capture_step was not captured"
    grep -q "development start: stage $stage " "$tmp/game.log" || fail "the start override was not taken"
    light=D1BC97 dark=507445 block=E16D22
    case $mode in
    stage1)
        checks=(262,390-266,394~$light 214,390-218,394~$dark 101,290-107,296~$block
            75,298-77,302~$block 66,298-68,302^$block 102,320-106,322~$block 102,329-106,331^$block
            245,240-255,255~$dark 0,0-479,639^FF00FF 112,238-128,250\<160,195-176,207:20) ;;
    stage1_wave)
        # Each enemy's colour within 8 px of its top face's centre, 48.6 px a unit at
        # its height 0.4: x 240 + 48.6 x, y 320 - 48.6 z.
        checks=(62,166-78,182~FF0000 145,195-161,211~00FF00 276,152-292,168~0000FF 319,195-335,211~FFFF00
            402,166-418,182~00FFFF) ;;
    stage3)
        checks=(300,420-470,470^$light,$dark 300,420-470,470~38647E,4A818D 100,500-140,540~$light) ;;
    stage6)
        checks=(18,4-46,17~6DD96E 210,40-270,54~EE44BB 226,68-238,90~FFFFFF 226,68-238,90~000000
            242,68-254,90~FFFFFF 242,68-254,90~000000 22,19-31,34~FFFFFF 22,19-31,34~000000
            46,44-60,58~E08020) ;;
    esac
    "$probe" "$tmp/stage.png" 480x640 "${checks[@]}" >"$tmp/probe.log" ||
        fail "step $capture_step: $(cat "$tmp/probe.log")"
    echo "step $capture_step: $(cat "$tmp/probe.log")"
elif [ "$mode" = demo ]; then
    wait_for 120 test -s "$tmp/demo.png" || fail "the demo was not captured"
    # The bars of "demo.mpg" (at the movie texture's 16-bit colour) on rows across
    # the middle and the bottom, and neither the backdrop nor the black under the
    # movie in the corners. (The turned screen leaves its last row, 639, uncovered.)
    bars=C0C0C0,C0C000,00C0C0,00C000,C000C0,C00000,0000C0,202020
    corners=()
    for at in 0,0 479,0 0,638 479,638; do corners+=("$at!203050" "$at!000000"); done
    "$probe" "$tmp/demo.png" 480x640 "row320~$bars" "row630~$bars" "${corners[@]}" >"$tmp/probe.log" ||
        fail "demo: $(cat "$tmp/probe.log")"
    grep -q '"demo.mpg" cannot be played' "$tmp/game.log" && fail "the movie was not played"
    echo "$(grep 'capture:' "$tmp/game.log"): $(cat "$tmp/probe.log")"
elif [ "$mode" = stop_while_waiting ]; then
    # The bus has started (its first reset went out) and the board stays quiet.
    wait_for 30 grep -q '^HOST ' "$tmp/board.log" || fail "the game never talked to the board"
    [ -z "$(refused)" ] || fail "the board refused: $(refused)"
    now=$(date +%s%N)
    wait_ns=$((1000000000 - (now - started)))
    [ "$wait_ns" -gt 0 ] && sleep "$(printf '0.%09d' "$wait_ns")"
    # Timed by the shell's own clock around one wait, so the measuring forks
    # nothing while the machine is busy; a watchdog ends a game that hangs.
    (sleep 5 && kill -9 "$game_pid") >/dev/null 2>&1 &
    watchdog=$!
    sent=${EPOCHREALTIME/./}
    kill -TERM "$game_pid"
    wait "$game_pid"
    code=$?
    took_ms=$(((${EPOCHREALTIME/./} - sent) / 1000))
    game_pid=
    kill "$watchdog" 2>/dev/null
    [ "$code" -ne 137 ] || fail "the game did not end on SIGTERM while waiting for the board"
    [ "$code" -eq 0 ] || fail "exit code $code"
    [ "$took_ms" -le 500 ] || fail "the game took $took_ms ms to end after SIGTERM"
    echo "PASS ($mode): ended $took_ms ms after SIGTERM"
    exit 0
else
    # The archive's message goes to stderr when no display can show it.
    wait_for 60 grep -q 'MARELDON.mbd' "$tmp/game.log" || fail "no message about the missing archive"
    wait_for 120 test -s "$tmp/step120.png" || fail "the game did not run on without its archive"
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
