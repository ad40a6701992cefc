# Sourced by every Wine end-to-end test: the harness with Wine in a fresh
# prefix, and the saver beside the fixtures it loads.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/harness_wine.sh"
: "${RIMEGLASS_SCR:?path of Rimeglass.scr}" "${FIXTURE_BIN:?directory of the test fixtures}"

WINE_TEST_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
harness_init wine
wine_init
APP="$HARNESS_DIR/app"            # the saver and the fixtures it loads sit together
FIXTURE="$HARNESS_DIR/fixture"    # where fixtures read answers and write records
mkdir -p "$APP" "$FIXTURE"
cp "$RIMEGLASS_SCR" "$APP/Rimeglass.scr"
export RIMEGLASS_FIXTURE_DIR="Z:${FIXTURE//\//\\}"
SAVER_PID=""

# Sets a value under HKCU\Control Panel\Desktop, or deletes it with type "none".
set_desktop_value() {
  local name=$1 type=$2 data=${3:-}
  if [ "$type" = none ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v "$name" /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Control Panel\Desktop' /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1
  fi
}

# Starts the saver in the background from its own folder.
start_saver() {
  (cd "$APP" && exec wine Rimeglass.scr "$@") >"$HARNESS_DIR/saver.log" 2>&1 &
  SAVER_PID=$!
}

# Waits up to $1 seconds for the saver to end; sets SAVER_EXIT and SAVER_MS.
wait_saver_exit() {
  local start
  start=$(now_ms)
  wait_for "$1" gone "$SAVER_PID" || return 1
  SAVER_MS=$(($(now_ms) - start))
  SAVER_EXIT=0
  wait "$SAVER_PID" || SAVER_EXIT=$?
  SAVER_PID=""
}

# The saver must end within $2 seconds with exit code 0.
expect_exit_within() {
  local what=$1 limit=$2
  wait_saver_exit "$limit" || fail "$what: still running after $limit s"
  [ "$SAVER_EXIT" -eq 0 ] || fail "$what: exit code $SAVER_EXIT"
  echo "ok: $what (exit 0 after $SAVER_MS ms)"
}

# The saver must still be running after $2 seconds.
expect_running() {
  sleep "$2"
  check "$1" saver_running
}

x_window_exists() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
# The virtual desktop's X window: its title as Wine 8 and as Wine 10 give it.
wine_desktop_shown() { x_window_exists "Default - Wine desktop" || x_window_exists "Wine Desktop"; }

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
  wait_for 20 wine_desktop_shown || fail "no Wine desktop"
  # Mapped black first, painted in its colour a moment later.
  wait_for 10 painted "$HARNESS_DIR/desktop-now.png" || fail "the Wine desktop was never painted"
  wait_for 10 screen_still || fail "the screen never settled"
}
painted() { capture "$1" && brighter_than "$1" 0.05; }
# Two captures of the screen 0.2 s apart are the same.
screen_still() {
  capture "$HARNESS_DIR/settle-a.png"
  sleep 0.2
  capture "$HARNESS_DIR/settle-b.png"
  ! pixels_differ "$HARNESS_DIR/settle-a.png" "$HARNESS_DIR/settle-b.png" 0
}

# Moves the pointer to $1,$2 and waits until Windows reports it there: the
# X event has then reached the window under the pointer, and the next move
# is a separate mouse event.
pointer_to() {
  xdotool mousemove "$1" "$2"
  wait_for 5 prints "cursor=$1,$2" probe cursor || fail "Wine never saw the pointer at $1,$2: $(probe cursor)"
}

# prints TEXT COMMAND...: COMMAND prints exactly TEXT.
prints() { [ "$("${@:2}")" = "$1" ]; }

# 1 when the X pointer shows any visible pixel, else 0.
cursor_shown() { python3 "$WINE_TEST_DIR/cursor_shown.py"; }

# Calls recorded so far by the PASSWORD.CPL stand-in.
calls() { [ -f "$FIXTURE/verify.log" ] && wc -l <"$FIXTURE/verify.log" || echo 0; }

# Waits up to 5 s for the stand-in to have been asked $1 times in all; fails
# when it was asked more often.
wait_calls() {
  wait_for 5 prints "$1" calls || true
  [ "$(calls)" -eq "$1" ]
}

# Waits up to $2 seconds until Windows has made the window titled $1 the
# foreground window, the one that takes the keys.
wait_foreground() { wait_for "${2:-20}" foreground "$1"; }
foreground() { probe window "$1" | grep -q ' foreground=1'; }

# probe.exe from the app folder: Windows' own view of a window or a file.
probe() { (cd "$APP" && wine "$FIXTURE_BIN/probe.exe" "$@") 2>/dev/null | tr -d '\r'; }

# field NAME "line of name=value pairs" -> value
field() { tr ' ' '\n' <<<"$2" | sed -n "s/^$1=//p" | head -n1; }

# Saves what X shows: the whole screen, or the window with id $2.
capture() { import -window "${2:-root}" "$1"; }

# Captures the screen (or window $3) into $2, then waits up to 3 s for a
# capture that differs from it in more than $4 pixels: new frames arrive.
expect_repainting() {
  local what=$1 first=$2 window=${3:-root} least=${4:-1000}
  capture "$first" "$window"
  check "$what" wait_for 3 repainted "$first" "$window" "$least"
}
# A new capture of window $2 differs from the picture $1 in more than $3 pixels.
repainted() {
  sleep 0.1
  capture "$HARNESS_DIR/repainted.png" "$2" && pixels_differ "$1" "$HARNESS_DIR/repainted.png" "$3"
}

pixels_differ() {
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [ "${count%%.*}" -gt "${3:-100}" ]
}

# Mean brightness of a picture in 0..1, to tell a drawn scene from black.
brightness() { convert "$1" -colorspace Gray -format '%[fx:mean]' info:; }

# Brightest channel value, 0..255, inside the rectangle WxH+X+Y $2 of picture $1.
# From the channels' maxima: ImageMagick 7's -fx operator prints "list".
brightest() {
  convert "$1" -crop "$2" +repage -format '%[fx:int(255*max(maxima.r,max(maxima.g,maxima.b)))]' info:
}

brighter_than() { awk -v b="$(brightness "$1")" -v min="$2" 'BEGIN { exit !(b > min) }'; }
