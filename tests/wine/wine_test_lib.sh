# Sourced by every Wine end-to-end test. Each test gets its own Xvfb display
# and Wine prefix under a fresh work directory; everything it starts is
# stopped and removed on exit, pass or fail.
set -euo pipefail

: "${RIMEGLASS_SCR:?path of Rimeglass.scr}" "${FIXTURE_BIN:?directory of the test fixtures}"

WINE_TEST_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/rimeglass-wine.XXXXXX")
APP="$WORK/app"            # the saver and the fixtures it loads sit together
FIXTURE="$WORK/fixture"    # where fixtures read answers and write records
mkdir -p "$APP" "$FIXTURE"
cp "$RIMEGLASS_SCR" "$APP/Rimeglass.scr"

export WINEDEBUG=-all
export WINEPREFIX="$WORK/prefix"
# No Mono or Gecko installers: nothing here needs them, and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
export RIMEGLASS_FIXTURE_DIR="Z:${FIXTURE//\//\\}"
XVFB_PID=""
SAVER_PID=""

cleanup() {
  local status=$?
  if [ -d "$WINEPREFIX" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
  exit "$status"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# check "what is expected" command args...
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A fresh prefix, made before any display exists so that nothing in it is
# tied to one. With a desktop size, every program runs in a Wine virtual
# desktop of that size: windows there are destroyed in milliseconds, where a
# bare X server without a window manager takes about two seconds.
make_prefix() {
  local desktop=${1:-}
  env -u DISPLAY wineboot -i >/dev/null 2>&1
  if [ -n "$desktop" ]; then
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f \
      >/dev/null 2>&1
  fi
  # Let the set-up processes and the server end, so the first test program
  # starts a desktop on the display below with the settings above.
  wineserver -w
}

start_display() {
  local size=${1:-800x600}
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  use_display_from "$WORK/display" || fail "Xvfb did not start"
}

# Waits up to 10 s for an X server started with -displayfd to write its
# display number into the file $1, then points DISPLAY at it.
use_display_from() {
  local i
  for i in $(seq 100); do
    [ -s "$1" ] && break
    sleep 0.1
  done
  [ -s "$1" ] || return 1
  export DISPLAY=":$(head -n1 "$1")"
}

# Sets a value under HKCU\Control Panel\Desktop, or deletes it with type "none".
set_desktop_value() {
  local name=$1 type=$2 data=${3:-}
  if [ "$type" = none ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v "$name" /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1
  fi
}

# Starts the saver in the background from its own folder; SAVER_PID is the
# Wine process whose exit status is the saver's exit code.
start_saver() {
  (cd "$APP" && exec wine Rimeglass.scr "$@") >"$WORK/saver.log" 2>&1 &
  SAVER_PID=$!
}

saver_running() { kill -0 "$SAVER_PID" 2>/dev/null; }

# Prints the Linux pid of the saver's Windows process: the launched process
# itself, or the child the wine launcher script starts. Waits up to 5 s.
saver_process() {
  local pid
  for _ in $(seq 100); do
    for pid in "$SAVER_PID" $(pgrep -P "$SAVER_PID" || true); do
      if grep -qa 'Rimeglass\.scr' "/proc/$pid/cmdline" 2>/dev/null; then
        echo "$pid"
        return 0
      fi
    done
    sleep 0.05
  done
  return 1
}

# Waits up to $1 ms for the saver to end; sets SAVER_EXIT and SAVER_MS.
wait_saver_exit() {
  local limit=$1 start
  start=$(now_ms)
  while saver_running; do
    [ $(($(now_ms) - start)) -le "$limit" ] || return 1
    sleep 0.02
  done
  SAVER_MS=$(($(now_ms) - start))
  SAVER_EXIT=0
  wait "$SAVER_PID" || SAVER_EXIT=$?
  SAVER_PID=""
  return 0
}

# The saver must end within $2 ms with exit code 0.
expect_exit_within() {
  local what=$1 limit=$2
  wait_saver_exit "$limit" || fail "$what: still running after $limit ms"
  [ "$SAVER_EXIT" -eq 0 ] || fail "$what: exit code $SAVER_EXIT"
  echo "ok: $what (exit 0 after $SAVER_MS ms)"
}

# The saver must still be running after $2 seconds.
expect_running() {
  local what=$1
  sleep "$2"
  saver_running || fail "$what: the saver ended"
  echo "ok: $what"
}

# Waits up to $2 seconds for an X window named exactly $1; prints its id.
wait_x_window() {
  local name=$1 limit=${2:-20} i id
  for i in $(seq $((limit * 10))); do
    id=$(xdotool search --name "^${name}\$" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Starts the saver with the given arguments; it must end by itself at once
# with exit code 0 and never show an X window titled $1.
expect_ends_at_once_without_window() {
  local title=$1 what=$2 seen=0 start
  shift 2
  start_saver "$@"
  start=$(now_ms)
  while saver_running && [ $(($(now_ms) - start)) -lt 10000 ]; do
    x_window_exists "$title" && seen=1
    sleep 0.05
  done
  expect_exit_within "$what ends at once" 0
  check "$what shows no window" [ "$seen" -eq 0 ]
}

# Keeps the Wine virtual desktop open for $1 seconds with an idle program,
# and returns once X shows it painted and still. Wine learns where the X
# pointer is only from pointer events over one of its windows; with the
# desktop open, moves reach Wine before the saver starts.
hold_desktop() {
  (cd "$APP" && exec wine "$FIXTURE_BIN/probe.exe" idle "$1") >/dev/null 2>&1 &
  wait_x_window "Default - Wine desktop" >/dev/null || fail "no Wine desktop"
  # Mapped black first, painted in its colour a moment later.
  local start
  start=$(now_ms)
  until capture "$WORK/desktop-now.png" && brighter_than "$WORK/desktop-now.png" 0.05; do
    [ $(($(now_ms) - start)) -lt 10000 ] || fail "the Wine desktop was never painted"
    sleep 0.1
  done
  wait_screen_settles
}

# Returns once two captures of the screen 0.2 s apart are the same.
wait_screen_settles() {
  local start
  start=$(now_ms)
  capture "$WORK/settle-a.png"
  while :; do
    sleep 0.2
    capture "$WORK/settle-b.png"
    ! pixels_differ "$WORK/settle-a.png" "$WORK/settle-b.png" 0 && return 0
    [ $(($(now_ms) - start)) -lt 10000 ] || fail "the screen never settled"
    mv "$WORK/settle-b.png" "$WORK/settle-a.png"
  done
}

# Moves the pointer to $1,$2 and waits until Windows reports it there: the
# X event has then reached the window under the pointer, and the next move
# is a separate mouse event.
pointer_to() {
  local start
  xdotool mousemove "$1" "$2"
  start=$(now_ms)
  until [ "$(probe cursor)" = "cursor=$1,$2" ]; do
    [ $(($(now_ms) - start)) -lt 5000 ] || fail "Wine never saw the pointer at $1,$2: $(probe cursor)"
    sleep 0.05
  done
}

# 1 when the X pointer shows any visible pixel, else 0.
cursor_shown() { python3 "$WINE_TEST_DIR/cursor_shown.py"; }

# Calls recorded so far by the PASSWORD.CPL stand-in.
calls() { [ -f "$FIXTURE/verify.log" ] && wc -l <"$FIXTURE/verify.log" || echo 0; }

# Waits up to 5 s for the stand-in to have been asked $1 times in all; fails
# when it was asked more often.
wait_calls() {
  local start
  start=$(now_ms)
  while [ "$(calls)" -lt "$1" ] && [ $(($(now_ms) - start)) -lt 5000 ]; do sleep 0.05; done
  [ "$(calls)" -eq "$1" ]
}

# Waits up to $2 seconds until Windows has made the window titled $1 the
# foreground window, the one that takes the keys.
wait_foreground() {
  local title=$1 limit=${2:-20} start
  start=$(now_ms)
  until probe window "$title" | grep -q ' foreground=1'; do
    [ $(($(now_ms) - start)) -le $((limit * 1000)) ] || return 1
    sleep 0.1
  done
}

x_window_exists() { xdotool search --name "^$1\$" >/dev/null 2>&1; }

# probe.exe from the app folder: Windows' own view of a window or a file.
probe() { (cd "$APP" && wine "$FIXTURE_BIN/probe.exe" "$@") 2>/dev/null | tr -d '\r'; }

# field NAME "line of name=value pairs" -> value
field() { tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p" | head -n1; }

# Saves what X shows: the whole screen, or the window with id $2.
capture() {
  if [ -n "${2:-}" ]; then import -window "$2" "$1"; else import -window root "$1"; fi
}

# Captures the screen (or window $3) into $2, then waits up to 3 s for a
# capture that differs from it in more than $4 pixels: new frames arrive.
expect_repainting() {
  local what=$1 first=$2 window=${3:-} least=${4:-1000} start
  capture "$first" $window
  start=$(now_ms)
  while :; do
    sleep 0.1
    capture "$WORK/repainted.png" $window
    if pixels_differ "$first" "$WORK/repainted.png" "$least"; then
      echo "ok: $what"
      return 0
    fi
    [ $(($(now_ms) - start)) -lt 3000 ] || fail "$what"
  done
}

pixels_differ() {
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [ "${count%%.*}" -gt "${3:-100}" ]
}

# Mean brightness of a picture in 0..1, to tell a drawn scene from black.
brightness() { convert "$1" -colorspace Gray -format '%[fx:mean]' info:; }

# Brightest channel value, 0..255, inside the rectangle WxH+X+Y $2 of picture $1.
brightest() {
  convert "$1" -crop "$2" +repage -fx 'max(r,max(g,b))' -format '%[fx:int(255*maxima)]' info:
}

brighter_than() { awk -v b="$(brightness "$1")" -v min="$2" 'BEGIN { exit !(b > min) }'; }
