#!/usr/bin/env bash
# The Wayland saver under headless sway (software renderer, 1280x720
# outputs): start to the first frame on every output, input (a button of a
# virtual pointer, SIGTERM) to the process gone, and over 5 s of running the
# frames per second of each output and the CPU of the saver and of sway,
# with one output and with two; then the saver's CPU and wakeups over 5 s
# drawing and 5 s paused (sway held with SIGSTOP asks for no frames, as for
# hidden or powered-down outputs). Frames and first frames are read from the
# saver's own protocol log (WAYLAND_DEBUG): one wl_surface.attach per frame
# (libwayland 1.23 of Debian 13 names objects wl_surface#N, where 1.21 has @).
# Last, the pixels of each frame on one 1920x1080 output at scale 1.5: the
# size of the buffers the saver makes (wl_shm_pool.create_buffer, or
# create_immed with a graphics card, in the same log). Then, under sway 1.10,
# the session lock and the lock host's background (below).
# usage: wayland_bench.sh [saver, default build/native/src/app/rimeglass]
#                         [virtual_pointer fixture] [runs, default 5]
top=$(cd "$(dirname "$0")/../.." && pwd)
saver=$(realpath "${1:-$top/build/native/src/app/rimeglass}")
fixture=$(realpath "${2:-$top/build/native/tests/wayland/virtual_pointer}")
runs=${3:-5}
source "$top/scripts/harness.sh"
source "$top/scripts/harness_wayland.sh"
harness_init wayland-bench

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# libwayland's log stamps: microseconds of CLOCK_REALTIME cut to 32 bits,
# shown in ms ("[%7u.%03u]": below a million padded with spaces, wrapping
# every 72 minutes), or from 1.26 (Debian 13's backports) the time of day,
# "[HH:MM:SS.micro]". The start is taken both ways.
log_clock_ms() {
  local us=${EPOCHREALTIME//[^0-9]/}
  echo "$(((us % 4294967296) / 1000)) $(((us / 1000) % 86400000))"
}
# The awk that reads a log, with since(): ms from the start to this line.
log_awk() {
  awk -v start="$1" '
    function since(   t, ms, wrap, h) {
      t = substr($0, 2, index($0, "]") - 2)
      if (split(t, h, ":") == 3) { ms = h[1] * 3600000 + h[2] * 60000 + h[3] * 1000 - day; wrap = 86400000 }
      else { ms = t - cut; wrap = 4294967.296 }
      return ms < 0 ? ms + wrap : ms
    }
    BEGIN { split(start, s, " "); cut = s[1]; day = s[2] }
    '"$2" "$OUT/log" 2>/dev/null
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Voluntary context switches of all its threads: each one a sleep ended.
wakeups() { awk '/^voluntary_ctxt_switches/ { w += $2 } END { print w }' /proc/"$1"/task/*/status; }

OUT=$HARNESS_DIR/out
mkdir "$OUT"
[ ${#HARNESS_USER[@]} -eq 0 ] || chown nobody "$OUT"
# Mesa keeps compiled shaders in the user's cache (from the password
# database's home, which nobody's is not): one of its own here, as a user's
# session has, so only the very first start compiles them.
run_saver() {
  # The last run's log must not be read for this one's first frames.
  rm -f "$OUT/log"
  as_compositor_user_in_background env XDG_CACHE_HOME="$OUT/cache" WAYLAND_DEBUG=client sh -c 'exec "$0" --wayland 2>"$1"' \
    "$saver" "$OUT/log"
  SAVER=$STARTED
}
# Milliseconds from START (log_clock_ms) to the first buffer on the last of
# COUNT surfaces, once each has one.
first_frames() {
  log_awk "$1" '
    /-> wl_surface[@#][0-9]+\.attach\(wl_buffer/ {
      id = $0; sub(/^.*-> wl_surface[@#]/, "", id); sub(/\..*/, "", id)
      if (!(id in seen)) { seen[id] = 1; n++ }
      if (n == '"$2"') { printf "%d\n", since(); exit }
    }'
}

for outputs in 1 2; do
  start_sway "$outputs"
  mkfifo -m 666 "$HARNESS_DIR/pointer.in" "$HARNESS_DIR/pointer.out"
  as_compositor_user_in_background sh -c 'exec "$0" <"$1" >"$2"' "$fixture" "$HARNESS_DIR/pointer.in" "$HARNESS_DIR/pointer.out"
  fixture_pid=$STARTED
  exec 7<>"$HARNESS_DIR/pointer.in" 8<>"$HARNESS_DIR/pointer.out"
  read -r -t 10 -u 8 reply && [ "$reply" = ready ] || fail "the virtual pointer did not start"
  pointer() { echo "$*" >&7 && read -r -t 5 -u 8 reply && [ "$reply" = ok ]; }
  # Where the savers will be: a button goes to the surface under the pointer.
  pointer move 100 100 1280 720

  : >"$OUT/first" && : >"$OUT/button" && : >"$OUT/term"
  for run in $(seq "$runs"); do
    for way in button term; do
      start=$(log_clock_ms)
      run_saver
      wait_for 10 eval 'first=$(first_frames "$start" "$outputs") && [ -n "$first" ]' ||
        fail "no first frame on $outputs outputs"
      echo "$first" >>"$OUT/first"
      sleep 0.5
      # sway 1.10 gives a surface mapped under a still pointer no pointer
      # focus, so no button, until the pointer moves: a step of a pixel, as
      # a hand makes, which the saver's first pointer place only notes.
      [ $way = term ] || pointer move $((100 + run)) 100 1280 720
      begin=$(now_ms)
      if [ $way = button ]; then pointer button; else kill -TERM "$SAVER"; fi
      wait_for 5 gone "$SAVER" || fail "the saver outlived its $way"
      echo $(($(now_ms) - begin)) >>"$OUT/$way"
    done
  done
  echo "$outputs output(s): first frame on every output $(tr '\n' ' ' <"$OUT/first")ms (median $(median <"$OUT/first"));" \
    "button to gone $(median <"$OUT/button") ms, SIGTERM to gone $(median <"$OUT/term") ms (medians of $runs)"

  run_saver
  sleep 1
  hz=$(getconf CLK_TCK)
  frames_before=$(grep -c -- '-> wl_surface[@#][0-9]*\.attach(wl_buffer' "$OUT/log")
  saver_before=$(cpu_ticks "$SAVER") sway_before=$(cpu_ticks "$COMPOSITOR_PID") woke_before=$(wakeups "$SAVER")
  sleep 5
  frames=$(($(grep -c -- '-> wl_surface[@#][0-9]*\.attach(wl_buffer' "$OUT/log") - frames_before))
  saver_cpu=$(($(cpu_ticks "$SAVER") - saver_before)) sway_cpu=$(($(cpu_ticks "$COMPOSITOR_PID") - sway_before))
  woke=$(($(wakeups "$SAVER") - woke_before))
  kill -STOP "$COMPOSITOR_PID"
  sleep 0.2
  saver_before=$(cpu_ticks "$SAVER") woke_before=$(wakeups "$SAVER")
  sleep 5
  paused_cpu=$(($(cpu_ticks "$SAVER") - saver_before)) paused_woke=$(($(wakeups "$SAVER") - woke_before))
  kill -CONT "$COMPOSITOR_PID"
  kill -TERM "$SAVER"
  wait_for 5 gone "$SAVER"
  awk -v f="$frames" -v n="$outputs" -v s="$saver_cpu" -v w="$sway_cpu" -v hz="$hz" -v k="$woke" \
    -v ps="$paused_cpu" -v pk="$paused_woke" 'BEGIN {
    printf "%d output(s), 5 s each: %.1f frames/s per output, sway %.2f cores; the saver drawing" \
      " | paused: CPU %.1f %% | %.1f %% of a core, wakeups %.0f/s | %.1f/s\n",
      n, f / n / 5, w / hz / 5, 100 * s / hz / 5, 100 * ps / hz / 5, k / 5, pk / 5 }'

  # The fixture ends with its input.
  exec 7>&- 8<&-
  kill "$COMPOSITOR_PID"
  wait_for 5 all_gone "$fixture_pid" "$COMPOSITOR_PID"
  rm -rf "$XDG_RUNTIME_DIR" "$HARNESS_DIR/pointer.in" "$HARNESS_DIR/pointer.out"
done

start_sway 1
as_compositor_user swaymsg output HEADLESS-1 mode 1920x1080 scale 1.5 >/dev/null
run_saver
buffer_size() {
  sed -n 's/.*-> \(wl_shm_pool\|zwp_linux_buffer_params_v1\)[@#][0-9]*\.create_\(buffer\|immed\)(new id wl_buffer[@#][0-9]*, \([^)]*\)).*/\3/p' \
    "$OUT/log" | awk -F', ' '{ size = (NF > 4 ? $2 "x" $3 : $1 "x" $2) } END { if (size) print size }'
}
wait_for 10 eval 'size=$(buffer_size) && [ -n "$size" ]' || fail "no buffer at scale 1.5"
sleep 1
size=$(buffer_size)
kill -TERM "$SAVER"
wait_for 5 gone "$SAVER"
echo "scale 1.5 on a 1920x1080 output ($(sway --version)): a ${size} buffer, $((${size%x*} * ${size#*x})) pixels a frame" \
  "($(awk -v w="${size%x*}" -v h="${size#*x}" 'BEGIN { printf "%.2f", w * h / (1920 * 1080) }') times the output's)"

# The session lock, where sway can lock (1.10), under pam_matrix as in the
# test, on two outputs: --lock started to locked, and to the first frame on
# every lock surface; Enter with the right password to the process gone;
# CPU and wakeups locked, drawing and with both outputs powered off; then
# --background given its connection in WAYLAND_SOCKET, to every output drawn.
printf '1.10\n%s\n' "$(sway --version | awk '{ print $3 }')" | sort -V -C || exit 0
kill "$COMPOSITOR_PID" && wait_for 5 gone "$COMPOSITOR_PID" && rm -rf "$XDG_RUNTIME_DIR"
start_sway 2
as_compositor_user_in_background wtype -s 3600000 z
mkdir -m 755 "$HARNESS_DIR/pam"
printf '%s:right:rimeglass\n' "$(as_compositor_user id -un)" >"$HARNESS_DIR/pam/passdb"
for service in rimeglass other; do
  printf '%s required /usr/lib/x86_64-linux-gnu/pam_wrapper/pam_matrix.so passdb=%s\n' \
    auth "$HARNESS_DIR/pam/passdb" account "$HARNESS_DIR/pam/passdb" >"$HARNESS_DIR/pam/$service"
done
chmod 644 "$HARNESS_DIR/pam/"*
# ms from START (log clock) to the first line matching PATTERN.
first_line() { log_awk "$1" '/'"$2"'/ { printf "%d\n", since(); exit }'; }
: >"$OUT/locked" && : >"$OUT/drawn" && : >"$OUT/unlocked"
for run in $(seq "$runs"); do
  rm -f "$OUT/log"
  start=$(log_clock_ms)
  as_compositor_user_in_background env XDG_CACHE_HOME="$OUT/cache" WAYLAND_DEBUG=client LD_PRELOAD=libpam_wrapper.so \
    PAM_WRAPPER=1 PAM_WRAPPER_SERVICE_DIR="$HARNESS_DIR/pam" sh -c 'exec "$0" --lock 2>"$1"' "$saver" "$OUT/log"
  SAVER=$STARTED
  wait_for 10 eval 'drawn=$(first_frames "$start" 2) && [ -n "$drawn" ]' || fail "the lock drew no first frames"
  first_line "$start" 'ext_session_lock_v1[@#][0-9]+\.locked\(' >>"$OUT/locked"
  echo "$drawn" >>"$OUT/drawn"
  sleep 0.5
  if [ "$run" -eq 1 ]; then
    saver_before=$(cpu_ticks "$SAVER") woke_before=$(wakeups "$SAVER")
    sleep 5
    drawing_cpu=$(($(cpu_ticks "$SAVER") - saver_before)) drawing_woke=$(($(wakeups "$SAVER") - woke_before))
    for output in HEADLESS-1 HEADLESS-2; do as_compositor_user swaymsg output $output power off >/dev/null; done
    sleep 0.2
    saver_before=$(cpu_ticks "$SAVER") woke_before=$(wakeups "$SAVER")
    sleep 5
    dark_cpu=$(($(cpu_ticks "$SAVER") - saver_before)) dark_woke=$(($(wakeups "$SAVER") - woke_before))
    for output in HEADLESS-1 HEADLESS-2; do as_compositor_user swaymsg output $output power on >/dev/null; done
  fi
  begin=$(now_ms)
  as_compositor_user wtype right -k Return
  wait_for 10 gone "$SAVER" || fail "the right password did not unlock"
  echo $(($(now_ms) - begin)) >>"$OUT/unlocked"
done
echo "--lock on 2 outputs: locked after $(tr '\n' ' ' <"$OUT/locked")ms (median $(median <"$OUT/locked")), every output" \
  "drawn after $(tr '\n' ' ' <"$OUT/drawn")ms (median $(median <"$OUT/drawn")); Enter to unlocked and gone" \
  "$(median <"$OUT/unlocked") ms (medians of $runs)"
awk -v hz="$(getconf CLK_TCK)" -v s="$drawing_cpu" -v k="$drawing_woke" -v ds="$dark_cpu" -v dk="$dark_woke" 'BEGIN {
  printf "locked, 5 s each, drawing | every output powered off: CPU %.1f %% | %.1f %% of a core, wakeups %.0f/s | %.1f/s\n",
    100 * s / hz / 5, 100 * ds / hz / 5, k / 5, dk / 5 }'
: >"$OUT/background"
for run in $(seq "$runs"); do
  rm -f "$OUT/log"
  start=$(log_clock_ms)
  as_compositor_user_in_background env XDG_CACHE_HOME="$OUT/cache" WAYLAND_DEBUG=client python3 -c '
import os, socket, sys
connection = socket.socket(socket.AF_UNIX)
connection.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ.pop("WAYLAND_DISPLAY")))
os.set_inheritable(connection.fileno(), True)
os.environ["WAYLAND_SOCKET"] = str(connection.fileno())
os.dup2(os.open(sys.argv[2], os.O_WRONLY | os.O_CREAT, 0o644), 2)
os.execv(sys.argv[1], [sys.argv[1], "--background"])' "$saver" "$OUT/log"
  SAVER=$STARTED
  wait_for 10 eval 'drawn=$(first_frames "$start" 2) && [ -n "$drawn" ]' || fail "--background drew no first frames"
  echo "$drawn" >>"$OUT/background"
  kill -TERM "$SAVER" && wait_for 5 gone "$SAVER"
done
echo "--background handed its connection, 2 outputs: every output drawn after $(tr '\n' ' ' <"$OUT/background")ms" \
  "(median $(median <"$OUT/background"))"
