#!/usr/bin/env bash
# The saver on windows it is given and on its own, without a daemon: the
# settings dialog's 565x317 preview gets the preview's coarser mesh; every
# way of being told to stop ends it with status 0; unmapped or covered it
# sleeps until shown again; bad window ids, no
# display and no GLX end it with status 1, one line on stderr and no window
# left; a display that goes away under it ends it too.
source "$(dirname "$0")/x11_test_lib.sh"
: "${RIMEGLASS_TOOL:?RIMEGLASS_TOOL names rimeglass-tool, which renders the reference pictures}"
start_xvfb 1024x768x24

# A plain window made here, as the settings dialog makes its preview.
make_window() {
  python3 "$HARNESS_SCRIPTS/x11_probe.py" window "$1" >"$HARNESS_DIR/window" &
  WINDOW_OWNER=$!
  harness_track "$WINDOW_OWNER"
  wait_for 10 test -s "$HARNESS_DIR/window" || fail "no $1 window made"
  WINDOW=$(cat "$HARNESS_DIR/window")
  rm "$HARNESS_DIR/window"
}
run_saver() { "$SAVER" "$@" 2>>"$HARNESS_DIR/saver.log" & SAVER_PID=$!; }
harness_at_exit 'echo "--- what the saver printed:"; cat "$HARNESS_DIR/saver.log"'

# The preview: the scene covers the window, and down its sides (clear of the
# crystal) it meets about as many facet edges as the tool's preview rendering
# of the same seed, not as many as the full-screen one.
make_window 565x317
run_saver --window-id "$WINDOW" --seed 5
covers() { wait_for 10 probe covered "$@" >/dev/null; }
check "--window-id: the scene covers a 565x317 window" covers "$WINDOW"
facets=$(probe facets "$WINDOW")
for variant in preview full; do
  "$RIMEGLASS_TOOL" render --size 565x317 $([ $variant = preview ] && echo --preview) --seed 5 \
    --out "$HARNESS_DIR/$variant.png"
  declare "${variant}_facets=$(probe facets "$HARNESS_DIR/$variant.png")"
done
echo "facet edges per column: saver $facets, preview $preview_facets, full screen $full_facets"
check "  it shows the preview's mesh" \
  test $((2 * facets)) -lt $((preview_facets + full_facets))

# Resized, much wider than before, it lays the mesh out again to every edge.
xdotool windowsize "$WINDOW" 1000 300
check "  resized to 1000x300, the scene still covers it" covers "$WINDOW"

# The window destroyed under it, as when its host closes: the ordinary end.
said=$(wc -c <"$HARNESS_DIR/saver.log")
kill "$WINDOW_OWNER"
check "  its window destroyed, it ends with status 0" status_within "$SAVER_PID" 2
check "  saying nothing" test "$(wc -c <"$HARNESS_DIR/saver.log")" -eq "$said"

# Each stop signal ends it cleanly within 0.5 s whenever it comes once main
# has blocked them (before that no program can): while the saver starts,
# draws a frame or waits for the next one.
stop_signals_blocked() { ((($(printf '0x%s' "$(sed -n 's/^SigBlk:\t//p' "/proc/$1/status")") & 0x4003) == 0x4003)); }
make_window 320x200
for signal in TERM INT HUP; do
  ended=true times=
  for _ in 1 2 3 4 5; do
    run_saver --window-id "$WINDOW"
    wait_for 10 stop_signals_blocked "$SAVER_PID" || fail "the saver never blocked its stop signals"
    sleep "0.$((RANDOM % 3))$((RANDOM % 10))"
    start=$(now_ms)
    kill -s "$signal" "$SAVER_PID"
    status=0
    status_within "$SAVER_PID" 2 || status=$?
    elapsed=$(($(now_ms) - start)) times+=" $elapsed"
    [ "$status" -eq 0 ] && [ "$elapsed" -le "$EXIT_LIMIT_MS" ] || ended=false
  done
  check "SIG$signal at random moments ends it with status 0 within $EXIT_LIMIT_MS ms (ms:$times)" $ended
done

# Hidden, it draws nothing and sleeps: over a second its CPU and its main
# thread's wakeups (a frame waits at least once) stay near zero. Shown
# again, the picture moves to every edge again.
usage() { echo "$(cut -d' ' -f14,15 "/proc/$SAVER_PID/stat") $(sed -n 's/^voluntary_ctxt_switches://p' "/proc/$SAVER_PID/status")"; }
draws() {
  local a b
  read -ra a <<<"$(usage)" && sleep 1 && read -ra b <<<"$(usage)"
  set -- $((b[0] + b[1] - a[0] - a[1])) $((b[2] - a[2]))
  echo "  in 1 s: CPU $1 ticks of $(getconf CLK_TCK), $2 wakeups"
  (($1 * 20 >= $(getconf CLK_TCK) || $2 >= 5))
}
sleeps() { ! draws; }
draws_again() { covers "$WINDOW" && probe changes "$WINDOW"; }
cover() { python3 "$HARNESS_SCRIPTS/x11_probe.py" window "$1" >/dev/null & COVER=$! && harness_track "$COVER"; }
run_saver --window-id "$WINDOW"
covers "$WINDOW" || fail "the scene never covered the window"
while IFS='|' read -r how hide expected show; do
  eval "$hide"
  check "$how, it $expected" wait_for 5 "$expected"
  eval "$show"
  check "  shown again, it draws again" draws_again
done <<'ROWS'
unmapped|xdotool windowunmap $WINDOW|sleeps|xdotool windowmap $WINDOW
covered by a window over the screen|cover 1024x768|sleeps|kill $COVER
half covered|cover 160x200|draws|kill $COVER
ROWS
xdotool windowunmap "$WINDOW"
wait_for 5 sleeps >/dev/null && kill "$SAVER_PID"
check "unmapped and asleep, SIGTERM ends it with status 0 within $EXIT_LIMIT_MS ms" \
  status_within "$SAVER_PID" "$(awk "BEGIN { print $EXIT_LIMIT_MS / 1000 }")"
kill "$WINDOW_OWNER"

# Its own window, for trying it out, closes on q and leaves nothing behind.
own_window() { OWN=$(xdotool search --name '^Rimeglass$' 2>/dev/null) && [ -n "$OWN" ]; }
no_own_window() { ! own_window; }
run_saver
check "without a window it opens its own, titled Rimeglass" wait_for 10 own_window
# The window may be gone before the key's release is sent, failing xdotool.
xdotool key --window "$OWN" q 2>/dev/null || true
check "  q closes it with status 0" status_within "$SAVER_PID" 2
check "  and the window is gone" no_own_window

# Bad input: status 1, exactly one line on stderr, no window made.
refused() {
  local stderr
  stderr=$("$@" 2>&1 >/dev/null)
  local status=$?
  echo "  $stderr"
  [ "$status" -eq 1 ] && [ "$(wc -l <<<"$stderr")" -eq 1 ] && [[ $stderr == rimeglass:* ]] &&
    ! own_window
}
check "a garbage window id is refused" refused "$SAVER" --window-id 12abc
check "a negative window id is refused" refused "$SAVER" -window-id -5
check "a dead window id is refused" refused "$SAVER" --window-id 0x1fffffff
check "a garbage XSCREENSAVER_WINDOW is refused" refused env XSCREENSAVER_WINDOW=0xZZ "$SAVER" --root
check "a dead XSCREENSAVER_WINDOW is refused" refused env XSCREENSAVER_WINDOW=4194303 "$SAVER"
check "an unknown option is refused" refused "$SAVER" --fullscreen
check "no DISPLAY is refused" refused env -u DISPLAY "$SAVER"
check "a display nobody serves is refused" refused env DISPLAY=:65000 "$SAVER"
main_display=$DISPLAY main_xvfb=$XSERVER_PID
start_xvfb 640x480x24 -extension GLX
check "a display without GLX is refused" refused "$SAVER"
export DISPLAY=$main_display

# The display gone under it: one line, status 0, no core dump.
run_saver $DAEMON_SAVER_ARGS
covers || fail "the scene never covered the screen"
kill "$main_xvfb"
check "the display ending under it ends it with status 0" status_within "$SAVER_PID" 2
