# Sourced after harness.sh by what runs the Wayland saver: its test and its
# benchmark. One adapter of three functions per compositor NAME:
#   NAME_start OUTPUTS  headless, in software, as the unprivileged account
#                       with a runtime folder of its own; OUTPUTS outputs of
#                       1280x720 side by side, OUTPUT_NAMES in that order, the
#                       background SWAY_BACKGROUND; exports WAYLAND_DISPLAY
#                       and XDG_RUNTIME_DIR, sets COMPOSITOR_PID; returns once
#                       every output is up
#   NAME_shot OUTPUT FILE  a PNG of one output in its own pixels
#   NAME_add_output     adds an output while the test runs and prints its
#                       name; returns 2 where the compositor cannot
# COMPOSITOR_PROGRAM names the program each needs, where it is not NAME.

# What no window covers on the compositor's outputs shows in this colour.
SWAY_BACKGROUND='#ff00ff'
declare -A COMPOSITOR_PROGRAM=()
# NAME=VALUE pairs the compositor's own tools need (sway's IPC socket).
COMPOSITOR_ENV=()

# compositor_runtime NAME: a fresh XDG_RUNTIME_DIR, also the compositor's
# HOME, owned by the account that runs it.
compositor_runtime() {
  export XDG_RUNTIME_DIR="$HARNESS_DIR/$1"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  [ ${#HARNESS_USER[@]} -eq 0 ] || chown nobody:nogroup "$XDG_RUNTIME_DIR"
}

# start_sway [OUTPUTS]: sway headless, drawing in software, with OUTPUTS
# (default 1) outputs of 1280x720 side by side, run by the unprivileged
# account with a runtime folder of its own; exports WAYLAND_DISPLAY,
# XDG_RUNTIME_DIR and SWAYSOCK.
start_sway() {
  local outputs=${1:-1} i
  compositor_runtime sway
  {
    echo 'xwayland disable'
    echo "output * bg $SWAY_BACKGROUND solid_color"
    for ((i = 1; i <= outputs; i++)); do
      echo "output HEADLESS-$i mode 1280x720 position $((1280 * (i - 1))) 0"
    done
  } >"$HARNESS_DIR/sway.config"
  chmod 644 "$HARNESS_DIR/sway.config"
  env -u DISPLAY -u WAYLAND_DISPLAY -u SWAYSOCK HOME="$XDG_RUNTIME_DIR" WLR_BACKENDS=headless \
    WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS="$outputs" \
    "${HARNESS_USER[@]}" sway -c "$HARNESS_DIR/sway.config" >"$HARNESS_DIR/sway.log" 2>&1 &
  COMPOSITOR_PID=$!
  harness_track "$COMPOSITOR_PID"
  wait_for 20 sway_sockets && export SWAYSOCK WAYLAND_DISPLAY && COMPOSITOR_ENV=(SWAYSOCK="$SWAYSOCK") &&
    wait_for 10 sway_outputs "$outputs" ||
    { cat "$HARNESS_DIR/sway.log" >&2; fail "sway did not start with $outputs outputs"; }
  OUTPUT_NAMES=()
  for ((i = 1; i <= outputs; i++)); do OUTPUT_NAMES+=("HEADLESS-$i"); done
}
sway_sockets() {
  SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name "sway-ipc.*.$COMPOSITOR_PID.sock")
  wayland_socket && [ -n "$SWAYSOCK" ]
}
sway_output_list() { as_compositor_user swaymsg -p -t get_outputs | sed -n 's/^Output \(HEADLESS-[0-9]*\).*/\1/p'; }
sway_outputs() { [ "$(sway_output_list | wc -l)" -eq "$1" ]; }
sway_start() { start_sway "$@"; }
sway_shot() { as_compositor_user grim -o "$1" "$2"; }
sway_add_output() {
  local before
  before=$(sway_output_list | wc -l)
  as_compositor_user swaymsg create_output >/dev/null && wait_for 5 sway_outputs $((before + 1)) &&
    sway_output_list | tail -n1
}

wayland_socket() {
  WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n')
  [ -n "$WAYLAND_DISPLAY" ]
}

# start_wlroots NAME OUTPUTS COMMAND...: a wlroots compositor without output
# configuration of its own, headless with OUTPUTS + 1 outputs. The last is
# switched off at once through wlr-output-management and SPARE_OUTPUT names
# it: switched on later it is, to a client, an output plugged in (neither
# labwc nor wayfire can create one at run time). swaybg colours the
# background through the layer shell.
start_wlroots() {
  local name=$1 outputs=$2 i layout=()
  shift 2
  compositor_runtime "$name"
  env -u DISPLAY -u WAYLAND_DISPLAY HOME="$XDG_RUNTIME_DIR" WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=$((outputs + 1)) \
    "${HARNESS_USER[@]}" "$@" >"$HARNESS_DIR/$name.log" 2>&1 &
  COMPOSITOR_PID=$!
  harness_track "$COMPOSITOR_PID"
  OUTPUT_NAMES=()
  for ((i = 1; i <= outputs; i++)); do
    OUTPUT_NAMES+=("HEADLESS-$i")
    layout+=(--output "HEADLESS-$i" --pos "$((1280 * (i - 1))),0")
  done
  SPARE_OUTPUT=HEADLESS-$((outputs + 1))
  COMPOSITOR_ENV=()
  # A compositor that ends at start-up is not waited for.
  if ! { wait_for 20 eval 'gone "$COMPOSITOR_PID" || wayland_socket' && ! gone "$COMPOSITOR_PID" &&
    export WAYLAND_DISPLAY &&
    wait_for 10 wlroots_outputs_are "$((outputs + 1)) enabled" &&
    as_compositor_user wlr-randr "${layout[@]}" --output "$SPARE_OUTPUT" --off &&
    wait_for 10 wlroots_outputs_are "$outputs enabled"; }; then
    cat "$HARNESS_DIR/$name.log" >&2
    # wayfire makes its renderer on a DRM device even when headless.
    if ! grep -q 'Failed to get DRM file descriptor' "$HARNESS_DIR/$name.log"; then
      fail "$name did not start with $outputs outputs"
    fi
    echo "SKIP: $name needs a DRM device and there is none here"
    exit 77
  fi
  as_compositor_user_in_background swaybg -c "${SWAY_BACKGROUND#\#}" 2>>"$HARNESS_DIR/swaybg.log"
  for i in "${OUTPUT_NAMES[@]}"; do
    wait_for 10 wlroots_shows_background "$i" || fail "$name: no background on $i"
  done
}
# wlroots_outputs_are "N enabled": N outputs on, none at the place of
# another.
wlroots_outputs_are() {
  [ "$(as_compositor_user wlr-randr | awk '
    /^[^ ]/ { on = 0 } /^  Enabled: yes/ { on = 1; n++ }
    on && /^  Position:/ { if ($2 in at) clash = 1; at[$2] = 1 }
    END { print n + 0, (clash ? "overlapping" : "enabled") }')" = "$1" ]
}
# In the runtime folder, which the compositor's account may write; read at
# the middle, away from the cursor labwc draws at 0,0, and within 1%, as the
# test reads it (labwc's software renderer draws swaybg's ff00ff as fd00fd).
wlroots_shows_background() {
  wlroots_shot "$1" "$XDG_RUNTIME_DIR/background.png" 2>/dev/null &&
    [ "$(convert "$XDG_RUNTIME_DIR/background.png[1x1+640+360]" -alpha off -fill black -fuzz 1% \
      +opaque "$SWAY_BACKGROUND" -fill white -opaque "$SWAY_BACKGROUND" -format '%[fx:mean]' info:)" = 1 ]
}
wlroots_shot() { as_compositor_user grim -o "$1" "$2"; }
# One spare output: to the right of the others.
wlroots_add_output() {
  as_compositor_user wlr-randr --output "$SPARE_OUTPUT" --on --pos "$((1280 * ${#OUTPUT_NAMES[@]})),0" &&
    echo "$SPARE_OUTPUT"
}

# labwc, with an empty configuration folder of its own: no autostart.
labwc_start() {
  mkdir -m 755 "$HARNESS_DIR/labwc.config"
  echo '<?xml version="1.0"?><labwc_config/>' >"$HARNESS_DIR/labwc.config/rc.xml"
  chmod 644 "$HARNESS_DIR/labwc.config/rc.xml"
  start_wlroots labwc "$1" labwc -C "$HARNESS_DIR/labwc.config"
}
labwc_shot() { wlroots_shot "$@"; }
labwc_add_output() { wlroots_add_output; }

# wayfire with no plugins, so nothing starts or is drawn but the clients.
wayfire_start() {
  printf '[core]\nplugins =\nxwayland = false\n' >"$HARNESS_DIR/wayfire.ini"
  chmod 644 "$HARNESS_DIR/wayfire.ini"
  start_wlroots wayfire "$1" wayfire -c "$HARNESS_DIR/wayfire.ini"
}
wayfire_shot() { wlroots_shot "$@"; }
wayfire_add_output() { wlroots_add_output; }

# --- KWin ---------------------------------------------------------------
# KWin nested on a private Xvfb, one X window per output. Headless here its
# virtual backend paints with QPainter (there is no DRM device), which
# leaves it no screenshot interface (its screenshot effect needs OpenGL),
# and it offers neither wlr-screencopy nor a virtual keyboard or pointer.
# Nested, what it shows is in its X windows and the X server's input is its
# input: pictures are X screenshots of the windows, keys and pointer moves
# go through xdotool (KWIN_WINDOW maps each output to its window). Neither
# backend makes an output at run time, and no client request here does (the
# screencast's virtual output of KWin 6 wants PipeWire and is not offered).
COMPOSITOR_PROGRAM[kwin]=kwin_wayland
declare -A KWIN_WINDOW=()
kwin_start() {
  local outputs=$1 i windows
  start_xvfb "$((1280 * outputs))x720x24"
  compositor_runtime kwin
  # A session bus of its own: KWin registers its services there.
  "${HARNESS_USER[@]}" dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" \
    >"$HARNESS_DIR/dbus.log" 2>&1 &
  harness_track $!
  wait_for 10 test -S "$XDG_RUNTIME_DIR/bus" || fail "the session bus for KWin did not start"
  COMPOSITOR_ENV=(DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus")
  # QPainter: the EGL it finds on Xvfb lacks what its OpenGL scene needs
  # (KWin 5.27 then draws nothing at all).
  env -u WAYLAND_DISPLAY HOME="$XDG_RUNTIME_DIR" KWIN_COMPOSE=Q "${COMPOSITOR_ENV[@]}" "${HARNESS_USER[@]}" \
    "$(kwin_program)" --x11-display "$DISPLAY" --socket wayland-kwin --width 1280 --height 720 \
    --output-count "$outputs" --no-lockscreen --no-global-shortcuts >"$HARNESS_DIR/kwin.log" 2>&1 &
  COMPOSITOR_PID=$!
  harness_track "$COMPOSITOR_PID"
  wait_for 30 eval 'gone "$COMPOSITOR_PID" || [ "$(kwin_windows | wc -l)" -eq "$outputs" ]' &&
    ! gone "$COMPOSITOR_PID" && wait_for 10 test -S "$XDG_RUNTIME_DIR/wayland-kwin" ||
    { cat "$HARNESS_DIR/kwin.log" >&2; fail "KWin did not start with $outputs outputs"; }
  export WAYLAND_DISPLAY=wayland-kwin
  # It makes its windows in the order of its outputs, X11-0 first, all at
  # 0,0, and lays its outputs out side by side; the windows are moved to
  # match, so a place on the X screen is the same place in its layout.
  mapfile -t windows < <(kwin_windows)
  OUTPUT_NAMES=()
  for ((i = 0; i < outputs; i++)); do
    OUTPUT_NAMES+=("X11-$i")
    KWIN_WINDOW[X11-$i]=${windows[i]}
    xdotool windowmove "${windows[i]}" $((1280 * i)) 0
  done
  # Debian 12's swaybg reads a colour only with its "#".
  as_compositor_user_in_background swaybg -c "$SWAY_BACKGROUND" 2>>"$HARNESS_DIR/swaybg.log"
  for i in "${OUTPUT_NAMES[@]}"; do
    wait_for 10 kwin_shows_background "$i" || fail "KWin: no background on $i"
  done
}
# Debian 12's kwin_wayland carries a file capability (cap_sys_resource, for
# its limits) that a container may not grant, and then it cannot be run at
# all; a copy without it runs the same. Its Qt platform plugin wants the
# program's own name.
kwin_program() {
  if kwin_wayland --version >/dev/null 2>&1; then
    command -v kwin_wayland
  else
    mkdir -p "$HARNESS_DIR/kwin-program"
    cp "$(command -v kwin_wayland)" "$HARNESS_DIR/kwin-program/kwin_wayland"
    echo "$HARNESS_DIR/kwin-program/kwin_wayland"
  fi
}
# Its output windows by id, which is the order it made them in.
kwin_windows() { xwininfo -root -children | awk '/"KDE Wayland Compositor/ { print $1 }' | sort; }
kwin_shows_background() {
  kwin_shot "$1" "$HARNESS_DIR/background.png" &&
    [ "$(convert "$HARNESS_DIR/background.png" -format '#%[hex:p{640,360}]' info: | tr A-F a-f)" = "$SWAY_BACKGROUND" ]
}
# Compressed lightly: under load the default compression takes seconds.
kwin_shot() { import -silent -window "${KWIN_WINDOW[$1]}" -quality 10 "$2"; }
kwin_add_output() { return 2; }
# Input through the X server it is nested on: a place on the X screen, a key
# to the window under the pointer.
kwin_move_to() { xdotool mousemove --sync "$1" "$2"; }
kwin_key() { xdotool key "$1"; }

# --- Hyprland -----------------------------------------------------------
# Hyprland with a configuration of its own (no autostart, no wallpaper, the
# background colour), on aquamarine's headless backend: its outputs are made
# and added through hyprctl, its screenshots taken through wlr-screencopy.
# It draws only through a DRM device's allocator, even headless; without
# one (no /dev/dri) the row says so and is skipped. Beyond that skip this
# adapter has only run where a DRM device was missing.
COMPOSITOR_PROGRAM[hyprland]=Hyprland
hyprland_start() {
  local outputs=$1 i
  compositor_runtime hyprland
  {
    printf 'misc {\n  disable_hyprland_logo = true\n  disable_splash_rendering = true\n'
    printf '  background_color = 0x%s\n}\n' "${SWAY_BACKGROUND#\#}"
    for ((i = 1; i <= outputs + 1; i++)); do
      echo "monitor = HEADLESS-$i, 1280x720, $((1280 * (i - 1)))x0, 1"
    done
  } >"$HARNESS_DIR/hyprland.conf"
  chmod 644 "$HARNESS_DIR/hyprland.conf"
  # No seat to open (LIBSEAT_BACKEND=noop): its own seatd would outlive it.
  env -u DISPLAY -u WAYLAND_DISPLAY HOME="$XDG_RUNTIME_DIR" LIBSEAT_BACKEND=noop "${HARNESS_USER[@]}" \
    Hyprland -c "$HARNESS_DIR/hyprland.conf" >"$HARNESS_DIR/hyprland.log" 2>&1 &
  COMPOSITOR_PID=$!
  harness_track "$COMPOSITOR_PID"
  if ! wait_for 20 eval 'gone "$COMPOSITOR_PID" || { wayland_socket && hyprland_instance; }' ||
    gone "$COMPOSITOR_PID"; then
    cat "$HARNESS_DIR/hyprland.log" >&2
    { grep -qF 'CBackend::create() failed' "$HARNESS_DIR/hyprland.log" && [ ! -e /dev/dri ]; } ||
      fail "Hyprland did not start"
    echo "SKIP: Hyprland needs a DRM device and there is none here"
    exit 77
  fi
  export WAYLAND_DISPLAY
  OUTPUT_NAMES=()
  for ((i = 1; i <= outputs; i++)); do
    as_compositor_user hyprctl output create headless "HEADLESS-$i" >/dev/null
    OUTPUT_NAMES+=("HEADLESS-$i")
  done
  wait_for 10 eval '[ "$(hyprland_output_list | wc -l)" -eq "$outputs" ]' ||
    fail "Hyprland did not make $outputs outputs"
}
hyprland_instance() {
  local folder
  folder=$(find "$XDG_RUNTIME_DIR/hypr" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' 2>/dev/null) &&
    [ -n "$folder" ] && COMPOSITOR_ENV=(HYPRLAND_INSTANCE_SIGNATURE="$folder")
}
hyprland_output_list() { as_compositor_user hyprctl monitors | sed -n 's/^Monitor \(HEADLESS-[0-9]*\) .*/\1/p'; }
hyprland_shot() { as_compositor_user grim -o "$1" "$2"; }
hyprland_add_output() {
  local name=HEADLESS-$((${#OUTPUT_NAMES[@]} + 1))
  as_compositor_user hyprctl output create headless "$name" >/dev/null &&
    wait_for 5 eval 'hyprland_output_list | grep -qx "$name"' && echo "$name"
}

# as_compositor_user COMMAND...: runs COMMAND as the compositor's account, on it.
as_compositor_user() {
  "${HARNESS_USER[@]}" env HOME="$XDG_RUNTIME_DIR" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
    WAYLAND_DISPLAY="$WAYLAND_DISPLAY" "${COMPOSITOR_ENV[@]}" "$@"
}

# as_compositor_user_in_background COMMAND...: the same, in the background.
# STARTED is the command's own process, not the subshell around it: the one
# a signal must reach. Both are ended at clean-up.
as_compositor_user_in_background() {
  as_compositor_user "$@" &
  local shell=$!
  harness_track "$shell"
  wait_for 5 eval 'STARTED=$(pgrep -P "$shell")' || fail "$1 did not start"
  harness_track "$STARTED"
}
