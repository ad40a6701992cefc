#!/usr/bin/env bash
# Command lines no settings page would write, as a third-party launcher or a
# hand-made shortcut could: very long arguments, unbalanced quotes, control
# characters, non-ASCII bytes, window handles that are negative, hexadecimal,
# out of range or name no window. Each line is handed to CreateProcessA byte
# for byte by the launch fixture. Whatever the line, the saver runs one of
# its modes, never crashes, draws only into a window of its own and ends
# with exit code 0:
#   ends    ends by itself at once and leaves the screen as it was
#   full    the full-screen window, exactly over the screen, ended by a key
#   popup   the preview popup in the top-left quarter; the rest of the screen
#           stays as it was; a key ends it
#   change:N  the change-password call (a recording MPR.DLL) with the
#           owner N, then the end
source "$(dirname "$0")/wine_test_lib.sh"
make_prefix 640x480
start_xvfb 640x480x24
cp "$FIXTURE_BIN/MPR.DLL" "$APP/"
COMMAND_FILE="Z:${HARNESS_DIR//\//\\}\\command"

# Holds the desktop open, so that the screen between cases is Wine's
# desktop and not a bare X root.
hold_desktop 600
capture "$HARNESS_DIR/desktop.png"

# No crash dialog, no debugger, no unhandled exception in the output.
no_crash() {
  ! grep -qaiE 'unhandled|page fault|winedbg|backtrace' "$HARNESS_DIR/saver.log" &&
    ! pgrep winedbg >/dev/null &&
    ! xdotool search --name '^Program Error$' >/dev/null 2>&1
}

# The screen equals the desktop as captured at the start, except in the
# rectangle "x0,y0 x1,y1" when given. Waits up to 3 s for Wine to repaint.
screen_as_before() {
  local expected="$HARNESS_DIR/desktop.png"
  if [ -n "${2:-}" ]; then
    expected="$HARNESS_DIR/desktop-masked.png"
    convert "$HARNESS_DIR/desktop.png" -fill black -draw "rectangle $2" "$expected"
  fi
  wait_for 3 screen_is "$1" "$expected" "${2:-}" ||
    { echo "  $(compare -metric AE "$1" "$expected" null: 2>&1) pixels differ from the desktop" >&2; false; }
}
# A new capture $1, masked by the rectangle $3 when given, equals picture $2.
screen_is() {
  capture "$1"
  [ -z "$3" ] || convert "$1" -fill black -draw "rectangle $3" "$1"
  ! pixels_differ "$1" "$2" 0
}

saver_log() { tr -d '\r' <"$HARNESS_DIR/saver.log" | cut -c1-200 >&2; }

# hostile <expect> <name> <printf format of the command line> [printf args...]
hostile() {
  local expect=$1 name=$2 format=$3
  shift 3
  # shellcheck disable=SC2059 # the format is the table's own
  printf -- "$format" "$@" >"$HARNESS_DIR/command"
  rm -f "$FIXTURE/change.log"
  (cd "$APP" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mpr=n" \
    exec wine "$FIXTURE_BIN/launch.exe" Rimeglass.scr "$COMMAND_FILE") >"$HARNESS_DIR/saver.log" 2>&1 &
  SAVER_PID=$!
  case $expect in
    ends | change:*)
      wait_saver_exit 5 || { saver_log; fail "$name: still running after 5 s"; }
      ;;
    full)
      wait_foreground Rimeglass 10 || { saver_log; fail "$name: no full-screen window"; }
      local window
      window=$(probe window Rimeglass)
      [ "$(field rect "$window")" = 0,0,640,480 ] || fail "$name: the window is not the screen: $window"
      xdotool key space
      wait_saver_exit 2 || { saver_log; fail "$name: a key did not end it"; }
      [ "$(probe flag)" = running=0 ] || fail "$name: the screen-saver flag stayed on"
      ;;
    popup)
      wait_foreground MySaver 10 || { saver_log; fail "$name: no popup"; }
      sleep 0.3
      screen_as_before "$HARNESS_DIR/popup.png" "0,0 319,239" || fail "$name: drawn outside the popup"
      xdotool key space
      wait_saver_exit 2 || { saver_log; fail "$name: a key did not end the popup"; }
      ;;
  esac
  if [ "$SAVER_EXIT" -ne 0 ] || ! grep -q '^exit=0x00000000' <(tr -d '\r' <"$HARNESS_DIR/saver.log"); then
    saver_log
    fail "$name: exit code $SAVER_EXIT"
  fi
  no_crash || { saver_log; fail "$name: crashed"; }
  if [[ $expect == change:* ]]; then
    local owner
    owner=$(tr -d '\r' <"$FIXTURE/change.log" 2>/dev/null | sed -n 's/.* owner=\([-0-9]*\) .*/\1/p')
    [ "$owner" = "${expect#change:}" ] || fail "$name: the dialog got owner '${owner:-no call}'"
  fi
  screen_as_before "$HARNESS_DIR/after.png" || fail "$name: the screen was left changed"
  echo "ok: $name ($expect, exit 0 after ${SAVER_MS} ms)"
}

long=$(head -c 32000 /dev/zero | tr '\0' x)
long_digits=$(head -c 32000 /dev/zero | tr '\0' 7)

# Length: one argument of 32,000 characters, in each place one can stand.
hostile full "32,000 characters after /s" 'Rimeglass.scr /s%s' "$long"
hostile ends "/c and an argument of 32,000 characters" 'Rimeglass.scr /c %s' "$long"
hostile popup "/p and 32,000 digits" 'Rimeglass.scr /p %s' "$long_digits"
hostile ends "/p -1 after 32,000 characters of argument 0" '"Rimeglass.scr%s" /p -1' "$long"

# Quotes: unbalanced or empty, the rest of the line belongs to the quoted
# argument.
hostile full "an unclosed quote around the program's name" '"Rimeglass.scr /p 5'
hostile full "a lone quote as argument 1" 'Rimeglass.scr "'
hostile popup "/p and the handle in one unclosed quote" 'Rimeglass.scr "/p 12'
hostile ends "/p with an unclosed quote before the handle" 'Rimeglass.scr /p "12'
hostile ends "/c followed by a quote" 'Rimeglass.scr /c"'
hostile popup "/p with an empty quoted handle" 'Rimeglass.scr /p ""'
hostile full "a quoted control character as the mode" 'Rimeglass.scr "/\001p" 5'

# Control characters 1..31 separate arguments like blanks.
hostile ends "tabs and \\x01..\\x1f around /c" 'Rimeglass.scr\t\001/c\002\003\004\005\006\007\010\011\012\013\014\015\016\017\020\021\022\023\024\025\026\027\030\031\032\033\034\035\036\037'
hostile popup "/p and only control characters after it" 'Rimeglass.scr\t/p\t\001\002\037'
hostile ends "a control character inside the handle" 'Rimeglass.scr /p 12\0013'
hostile full "an escape sequence after /s" 'Rimeglass.scr /s\033[2J\033[31m\177'

# Non-ASCII bytes (UTF-8 and otherwise), as the mode character and as text.
hostile full "a non-ASCII mode character" 'Rimeglass.scr /\303\251'
hostile full "a Latin-1 mode character" 'Rimeglass.scr -\361'
hostile ends "/c followed by UTF-8 text" 'Rimeglass.scr /c\303\261 \345\206\260 \360\237\247\212'
hostile popup "/p with full-width digits" 'Rimeglass.scr /p \357\274\221\357\274\222'
hostile popup "/p with bytes above 127 after the handle's prefix" 'Rimeglass.scr /p $\377\376'

# Handles: negative, hexadecimal, out of range, naming no window, or
# special values of the window API.
hostile ends "/p -1" 'Rimeglass.scr /p -1'
hostile ends "/p 0xFFFFFFFF" 'Rimeglass.scr /p 0xFFFFFFFF'
hostile ends "/p \$7FFFFFFF" 'Rimeglass.scr /p $7FFFFFFF'
hostile ends "/p -2147483648" 'Rimeglass.scr /p -2147483648'
hostile ends "/p -3 (the message-only parent)" 'Rimeglass.scr /p -3'
hostile ends "/p 65535 (the broadcast handle)" 'Rimeglass.scr /p 65535'
hostile ends "/p 1" 'Rimeglass.scr /p 1'
hostile popup "/p 99999999999 (past 32 bits)" 'Rimeglass.scr /p 99999999999'
hostile popup "/p 1e3" 'Rimeglass.scr /p 1e3'
hostile popup "/p 0x123456789 (nine hex digits)" 'Rimeglass.scr /p 0x123456789'
hostile popup "/p -0x5 (a sign before hex)" 'Rimeglass.scr /p -0x5'

# Change password with the same handles: the dialog gets them as parsed.
hostile change:-1 "/a -1" 'Rimeglass.scr /a -1'
hostile change:-1 "/a 0xFFFFFFFF" 'Rimeglass.scr /a 0xFFFFFFFF'
hostile change:2147483647 "/a \$7FFFFFFF" 'Rimeglass.scr /a $7FFFFFFF'
hostile change:0 "/a 99999999999" 'Rimeglass.scr /a 99999999999'
hostile change:0 "/a and 32,000 digits" 'Rimeglass.scr /a %s' "$long_digits"
hostile change:7 "/a with control characters and a quote" '\"Rimeglass.scr\"\t/a\001"7'

# Configure with junk after it.
hostile ends "/c:junk and more arguments" 'Rimeglass.scr /c:-1 /p 0xFFFFFFFF /s'
hostile ends "-C with quotes and percent signs" 'Rimeglass.scr -C "%%1" %%~dp0 ""'
