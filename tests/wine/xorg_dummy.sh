# Sourced after wine_test_lib.sh by tests that need several monitors. Wine
# takes its monitors from the X server's RandR outputs, and Xvfb has only one;
# Xorg with the dummy video driver has as many as its configuration names.
# Run Wine without a virtual desktop here: a virtual desktop is one monitor.

XORG_PID=""

# The display server goes after Wine's server, then the library's clean-up.
stop_xorg() {
  local status=$?
  # Leaving on a failure must not cut the clean-up short.
  set +e
  if [ -n "$XORG_PID" ]; then
    if [ -d "$WINEPREFIX" ]; then wineserver -k >/dev/null 2>&1; fi
    kill "$XORG_PID" 2>/dev/null
    wait "$XORG_PID" 2>/dev/null
  fi
  (exit "$status")
  cleanup
}
trap stop_xorg EXIT

# Two monitors side by side: 1280x720, the primary, at 0,0 and 1024x768 at
# 1280,0. The strip below the primary, 1280x48, belongs to no monitor.
start_two_monitors() {
  local dir="$WORK/xorg"
  mkdir -p "$dir/conf.d"
  # Xorg wants its configuration folder to exist and to hold a file.
  echo '# nothing here' >"$dir/conf.d/empty.conf"
  cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "BlankTime" "0"
  Option "StandbyTime" "0"
  Option "SuspendTime" "0"
  Option "OffTime" "0"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
  Option "Monitor-DUMMY0" "primary"
  Option "Monitor-DUMMY1" "second"
EndSection
Section "Monitor"
  Identifier "primary"
  Modeline "1280x720" 74.25 1280 1390 1430 1650 720 725 730 750
  Option "PreferredMode" "1280x720"
  Option "Position" "0 0"
  Option "Primary" "true"
EndSection
Section "Monitor"
  Identifier "second"
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806
  Option "PreferredMode" "1024x768"
  Option "Position" "1280 0"
  Option "Enable" "true"
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "primary"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2304 768
  EndSubSection
EndSection
CONF
  Xorg -config "$dir/xorg.conf" -configdir "$dir/conf.d" -logfile "$dir/xorg.log" \
    -noreset -nolisten tcp -displayfd 3 3>"$WORK/display" >"$dir/xorg.out" 2>&1 &
  XORG_PID=$!
  use_display_from "$WORK/display" || { cat "$dir/xorg.out" >&2; fail "Xorg did not start"; }
}

# The settings Wine's server read at its start stay until it ends.
restart_wineserver() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}

# Pixels of colour $2 inside the rectangle WxH+X+Y $3 of the picture $1.
count_colour() {
  convert "$1" -crop "$3" +repage -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}

