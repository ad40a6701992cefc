#!/usr/bin/env bash
# The Wayland saver under headless sway, two 1280x720 outputs side by side
# over a magenta background: both covered to every edge and moving, the
# background never showing; a second instance ends at once and leaves the
# first alone; small moves, also across outputs, keep it; a jump, a key, a
# button, a scroll and each stop signal end it with status 0 within 0.5 s;
# an output plugged in while it runs is covered, and one switched to scale 2
# at its full resolution; while no output asks for a frame it sleeps (no
# wakeups, no CPU) and still ends at once on a stop signal, and draws again
# when frames are asked for; under sway 1.10, with every output powered off
# it sleeps too, and ten outputs plugged and unplugged leave its memory and
# descriptors flat; an output without OpenGL is covered in black and named;
# without the layer shell (weston) it says so and ends with status 1. A
# sleeping wtype keeps the seat's keyboard and the fixture its pointer: a
# headless seat has neither.
command -v sway >/dev/null || { echo "SKIP: sway is not installed"; exit 77; }
source "$(dirname "$0")/../../scripts/harness.sh"
: "${RIMEGLASS:?RIMEGLASS names the saver}" "${VIRTUAL_POINTER:?VIRTUAL_POINTER names the fixture}"
harness_init wayland
start_sway 2
# Screenshots, the saver's stderr and status: written as the compositor's user.
OUT=$HARNESS_DIR/out
mkdir "$OUT"
[ ${#HARNESS_USER[@]} -eq 0 ] || chown nobody "$OUT"
LAYOUT="2560 720"

as_compositor_user_in_background wtype -s 3600000 z
mkfifo -m 666 "$HARNESS_DIR/pointer.in" "$HARNESS_DIR/pointer.out"
# Read-write opens of the fifos never wait for the other end.
as_compositor_user_in_background sh -c 'exec "$0" <"$1" >"$2"' "$VIRTUAL_POINTER" "$HARNESS_DIR/pointer.in" \
  "$HARNESS_DIR/pointer.out"
exec 7<>"$HARNESS_DIR/pointer.in" 8<>"$HARNESS_DIR/pointer.out"
read -r -t 10 -u 8 reply && [ "$reply" = ready ] || fail "the virtual pointer did not start"
# pointer move X Y | button | scroll: returns once the compositor has it.
pointer() {
  echo "$*" >&7
  read -r -t 5 -u 8 reply && [ "$reply" = ok ]
}
move_to() { pointer move "$1" "$2" $LAYOUT; }

# The saver's subshell keeps its status.
start_saver() {
  rm -f "$OUT/status"
  as_compositor_user_in_background sh -c '"$0" --wayland 2>>"$1"; echo $? >"$2"' "$RIMEGLASS" \
    "$OUT/saver.log" "$OUT/status"
  wait_for 5 eval 'SAVER=$(pgrep -P "$STARTED")' || fail "the saver did not start"
  harness_track "$SAVER"
}
saver_status() { wait_for 1 test -s "$OUT/status" && cat "$OUT/status"; }
running() { ! gone "$SAVER"; }

# shot NAME OUTPUT: a screenshot of one output, in its own pixels.
shot() { as_compositor_user grim -o "$2" "$OUT/$1.png"; }
size_of() { identify -format '%wx%h' "$1"; }
# Pixels of exactly the background colour.
background_pixels() {
  convert "$1" -precision 16 -alpha off -fill black -fuzz 1% +opaque "$SWAY_BACKGROUND" -fill white \
    -opaque "$SWAY_BACKGROUND" -format '%[fx:round(mean*w*h)]' info:
}
# covered OUTPUT WxH: the whole output shows the saver, none of the background.
covered() {
  shot cover "$1" && [ "$(size_of "$OUT/cover.png")" = "$2" ] &&
    [ "$(background_pixels "$OUT/cover.png")" -eq 0 ]
}
differing_pixels() { compare -precision 16 -metric AE "$1" "$2" null: 2>&1 || true; }
moving() {
  shot before "$1" && sleep 0.3 && shot after "$1" &&
    [ "$(differing_pixels "$OUT/before.png" "$OUT/after.png")" -gt 1000 ]
}
both_covered() { covered HEADLESS-1 1280x720 && covered HEADLESS-2 1280x720; }

# The pointer rests near the outputs' border when the saver starts; its
# first place only starts the watch.
move_to 1270 300
check "the background shows before the saver runs" eval '[ "$(shot bare HEADLESS-1 && background_pixels "$OUT/bare.png")" -gt 0 ]'
start_saver
check "both outputs are covered to every edge, no background showing" wait_for 10 both_covered
check "the first output's scene moves" moving HEADLESS-1
check "the second output's scene moves" moving HEADLESS-2

as_compositor_user "$RIMEGLASS" --wayland 2>>"$OUT/saver.log" &
second=$!
check "a second instance ends at once" wait_for 2 gone "$second"
check "with status 0" wait "$second"
check "and leaves the first running" running

# Held still (SIGSTOP), sway sends no frame callbacks, as it does not for
# hidden, locked or powered-down outputs (its headless ones cannot be
# powered down). Wakeups: voluntary context switches of all threads.
usage() {
  awk '/^voluntary_ctxt_switches/ { w += $2 } END { printf "%d ", w }' /proc/"$SAVER"/task/*/status
  awk '{ print $14 + $15 }' /proc/"$SAVER"/stat
}
hold_sway() { kill -STOP "$COMPOSITOR_PID" && sleep 0.2; }
hold_sway
read -r wakeups cpu < <(usage) && sleep 1 && read -r wakeups_after cpu_after < <(usage)
kill -CONT "$COMPOSITOR_PID"
wakeups=$((wakeups_after - wakeups)) cpu=$((cpu_after - cpu))
check "with no frame asked for it sleeps: $wakeups wakeups, $cpu CPU ticks in 1 s" test $wakeups -le 2 -a $cpu -le 1
check "and both outputs move again once frames are asked for" eval 'moving HEADLESS-1 && moving HEADLESS-2'

move_to 1290 300
move_to 1300 320
sleep 0.3
check "moves of 30 logical pixels or less, one across the outputs' border, keep it" running

# ending CAUSE COMMAND...: COMMAND ends the running saver with status 0
# within 0.5 s; then a fresh one starts with the pointer where it was.
ending() {
  local cause=$1 started status=0
  shift
  started=$(now_ms)
  "$@" || fail "sending $cause"
  wait_for 2 gone "$SAVER" || fail "$cause: the saver still runs"
  local took=$(($(now_ms) - started))
  status=$(saver_status)
  check "$cause ends it with status 0 ($status) within $EXIT_LIMIT_MS ms (${took} ms)" \
    test "$status" -eq 0 -a "$took" -le "$EXIT_LIMIT_MS"
  start_saver
  wait_for 10 both_covered || fail "the saver after $cause did not cover both outputs"
}
ending "a jump of the pointer" move_to 1400 300
ending "a key" as_compositor_user wtype x
ending "a button" pointer button
ending "a scroll" pointer scroll
for signal in TERM INT HUP; do ending "SIG$signal" kill -"$signal" "$SAVER"; done

as_compositor_user swaymsg create_output >/dev/null
check "an output plugged in while it runs is covered" \
  wait_for 10 eval 'covered HEADLESS-3 "$(as_compositor_user swaymsg -t get_outputs -p | sed -n "/^Output HEADLESS-3/,/^\$/s/^ *Current mode: \([0-9]*x[0-9]*\).*/\1/p")"'
as_compositor_user swaymsg output HEADLESS-1 scale 2 >/dev/null
# At scale 2 a buffer of half the size would be shown doubled: every 2x2
# block of the screenshot one colour, the same as its own nearest-pixel
# halving doubled again.
full_resolution() {
  covered HEADLESS-1 1280x720 &&
    convert "$OUT/cover.png" -sample 50% -sample 200% "$OUT/doubled.png" &&
    [ "$(differing_pixels "$OUT/cover.png" "$OUT/doubled.png")" -gt 100000 ]
}
check "an output switched to scale 2 is covered at its full resolution" wait_for 10 full_resolution
check "and the saver still runs" running

# sway 1.10 can power outputs off and unplug them (1.7's headless ones cannot).
if [ "$(printf '1.10\n%s\n' "$(sway --version | awk '{ print $3 }')" | sort -V | head -1)" = 1.10 ]; then
  as_compositor_user swaymsg output HEADLESS-2 power off >/dev/null
  check "with one output powered off the other moves on" moving HEADLESS-1
  as_compositor_user swaymsg output '*' power off >/dev/null && sleep 0.2
  read -r wakeups cpu < <(usage) && sleep 1 && read -r wakeups_after cpu_after < <(usage)
  wakeups=$((wakeups_after - wakeups)) cpu=$((cpu_after - cpu))
  check "with every output dark it sleeps: $wakeups wakeups, $cpu CPU ticks in 1 s" test $wakeups -le 2 -a $cpu -le 1
  as_compositor_user swaymsg output '*' power on >/dev/null
  # Each plugged output gets a scene, each unplugged one gives back its
  # surface, EGL window and scene: memory and descriptors stay flat, measured
  # once the saver has had a moment to act on the removal.
  resources() { echo "$(awk '/^VmRSS/ { print $2 }' /proc/"$SAVER"/status) $(ls /proc/"$SAVER"/fd | wc -l)"; }
  for round in {1..10}; do
    as_compositor_user swaymsg create_output >/dev/null
    plugged=$(as_compositor_user swaymsg -t get_outputs -p | sed -n 's/^Output \(HEADLESS-[0-9]*\).*/\1/p' | sort -t- -k2n | tail -1)
    wait_for 10 moving "$plugged" || fail "round $round: $plugged did not get a moving scene"
    as_compositor_user swaymsg output "$plugged" unplug >/dev/null
    [ "$round" -ne 2 ] || { sleep 1 && read -r rss fds < <(resources); }
  done
  sleep 1 && read -r rss_after fds_after < <(resources)
  check "powered on again, and with outputs plugged and unplugged, both move" eval 'moving HEADLESS-1 && moving HEADLESS-2'
  check "ten outputs later RSS ${rss}→${rss_after} kB, fds $fds→$fds_after" test $((rss_after - rss)) -le 2048 -a "$fds_after" -le "$fds"
fi
hold_sway
kill -TERM "$SAVER"
check "SIGTERM while no frame is asked for ends it within $EXIT_LIMIT_MS ms" wait_for "${EXIT_LIMIT_MS}e-3" gone "$SAVER"
kill -CONT "$COMPOSITOR_PID"
if grep -q . "$OUT/saver.log"; then cat "$OUT/saver.log"; fail "the saver wrote to stderr"; fi

# An output without OpenGL (its EGL surface made to fail) is covered in
# black while the other draws on, and one line names it.
RIMEGLASS_TEST_FAIL_EGL_OUTPUT=HEADLESS-2 start_saver
check "an output whose EGL surface fails is covered in black to every edge" \
  wait_for 10 eval 'covered HEADLESS-2 1280x720 && [ "$(convert "$OUT/cover.png" -format "%[max]" info:)" = 0 ]'
check "while the other moves on; one line names it" eval 'moving HEADLESS-1 && [ "$(grep -c "output HEADLESS-2 " "$OUT/saver.log")/$(wc -l <"$OUT/saver.log")" = 1/1 ]'

# A compositor without the layer shell (weston, headless).
weston_dir=$HARNESS_DIR/weston
mkdir -m 700 "$weston_dir"
[ ${#HARNESS_USER[@]} -eq 0 ] || chown nobody:nogroup "$weston_dir"
"${HARNESS_USER[@]}" env -u DISPLAY HOME="$weston_dir" XDG_RUNTIME_DIR="$weston_dir" \
  weston --backend=headless-backend.so --socket=wayland-w >"$HARNESS_DIR/weston.log" 2>&1 &
harness_track $!
wait_for 10 test -S "$weston_dir/wayland-w" || { cat "$HARNESS_DIR/weston.log"; fail "weston did not start"; }
status=0
"${HARNESS_USER[@]}" env HOME="$weston_dir" XDG_RUNTIME_DIR="$weston_dir" WAYLAND_DISPLAY=wayland-w \
  "$RIMEGLASS" --wayland 2>"$OUT/weston.err" || status=$?
cat "$OUT/weston.err"
check "without the layer shell it ends with status 1 and one line naming zwlr_layer_shell_v1" \
  eval '[ $status -eq 1 ] && [ "$(wc -l <"$OUT/weston.err")" -eq 1 ] && grep -q zwlr_layer_shell_v1 "$OUT/weston.err"'
echo "all passed"
