#!/usr/bin/env bash
# The preview as the system's settings page runs it: a host window starts
# the saver with "/p <host>", the saver draws into a child window of the
# host's outer size, and destroying the host ends the saver.
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix 640x480
start_xvfb 800x600x24

# start_host <width> <height> [popup]: the host's report goes to host.log.
start_host() {
  rm -f "$FIXTURE/destroy"
  (cd "$APP" && exec wine "$FIXTURE_BIN/preview_host.exe" "$1" "$2" Rimeglass.scr ${3:+"$3"}) >"$HARNESS_DIR/host.log" 2>&1 &
  HOST_PID=$!
}
host_says() {
  wait_for 20 said_or_ended "$1" || true
  tr -d '\r' <"$HARNESS_DIR/host.log" | grep "$1" || { echo "host said:" >&2; cat "$HARNESS_DIR/host.log" >&2; false; }
}
said_or_ended() { grep -q "$1" "$HARNESS_DIR/host.log" 2>/dev/null || gone "$HOST_PID"; }
destroy_host() {
  touch "$FIXTURE/destroy"
  host_says '^saver_exit=' || fail "the host never saw the saver end"
}

# The host has a caption, so its outer size (377x233) is not its client size.
start_host 377 233
host_says '^host=' >/dev/null || fail "the host did not start"
child=$(host_says '^child ') || fail "no child window reported"
echo "$child"
check 'the child is of class "MyVantorScreenSaverClass"' [ "$(field class "$child")" = MyVantorScreenSaverClass ]
check 'the child is titled "MySaver"' [ "$(field title "$child")" = MySaver ]
check "the child has the host's outer size" [ "$(field size "$child")" = 377x233 ]
check "the child is a visible, disabled child window of the saver" \
  grep -q 'child=1 disabled=1 visible=1 saver_owns=1' <<<"$child"

# Wine draws a child's OpenGL into an X window of the child's own size.
gl_window=$(xwininfo -root -tree | awk '/ 377x233\+/ && !/Preview host/ { print $1; exit }')
[ -n "$gl_window" ] || fail "no X window holds the preview's drawing"
expect_repainting "the preview keeps repainting" "$HARNESS_DIR/preview1.png" "$gl_window" 1000
check "the preview shows the scene" brighter_than "$HARNESS_DIR/preview1.png" 0.05

xdotool mousemove 100 100
sleep 0.2
xdotool mousemove 300 200
sleep 0.2
xdotool click 1
sleep 0.5
check "the pointer is not hidden over the preview" [ "$(cursor_shown)" = 1 ]
check "the preview leaves the screen-saver flag alone" [ "$(probe flag)" = running=0 ]
check "mouse jumps and clicks over the preview do not end it" \
  bash -c "! grep -q saver_ended_early '$HARNESS_DIR/host.log'"

exit_line=$(destroy_host)
echo "$exit_line"
check "destroying the host ends the saver with exit code 0" [ "$(field saver_exit "$exit_line")" = 0 ]
check "within a second" [ "$(field after_ms "$exit_line")" -lt 1000 ]
wait "$HOST_PID" || true

# A host with no height: nothing may divide by it.
start_host 300 0 popup
child=$(host_says '^child ') || fail "no child window in a host of height 0"
echo "$child"
check "a host of height 0 gets a child of its size" [ "$(field size "$child")" = 300x0 ]
sleep 1
check "and the saver keeps running" bash -c "! grep -q saver_ended_early '$HARNESS_DIR/host.log'"
exit_line=$(destroy_host)
check "destroying it still ends the saver with exit code 0" [ "$(field saver_exit "$exit_line")" = 0 ]
