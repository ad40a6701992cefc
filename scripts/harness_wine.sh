# Sourced after harness.sh by what runs the Windows program under Wine: the
# tests, the benchmark and scripts/run.

# wine_init [PREFIX]: Wine quiet, in PREFIX (default: one in the work folder),
# and its server ended at clean-up with every program it runs.
wine_init() {
  export WINEDEBUG=-all
  export WINEPREFIX=${1:-$HARNESS_DIR/prefix}
  # No Mono or Gecko installers: nothing here needs them, and they would ask.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  harness_at_exit '[ ! -d "$WINEPREFIX" ] || wineserver -k >/dev/null 2>&1'
}

# make_prefix [DESKTOP]: creates the prefix unless it exists, before any
# display does, so that nothing in it is tied to one. With a desktop size,
# every program runs in a Wine virtual desktop of that size: windows there are
# destroyed in milliseconds, where a bare X server without a window manager
# takes about two seconds.
make_prefix() {
  [ ! -f "$WINEPREFIX/system.reg" ] || return 0
  env -u DISPLAY wineboot -i >/dev/null 2>&1
  if [ -n "${1:-}" ]; then
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    env -u DISPLAY wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f \
      >/dev/null 2>&1
  fi
  # Let the set-up processes and the server end, so the first program starts
  # a desktop on the display with the settings above.
  wineserver -w
}

# SAVER_PID is the wine launcher of the saver: its exit status is the
# saver's exit code.
saver_running() { ! gone "$SAVER_PID"; }

# Prints the Linux pid of the saver's Windows process: the launched process
# itself, or the child the wine launcher script starts. Waits up to 5 s.
saver_process() { wait_for 5 find_saver_process; }
find_saver_process() {
  local pid
  for pid in "$SAVER_PID" $(pgrep -P "$SAVER_PID"); do
    if grep -qa 'Rimeglass\.scr' "/proc/$pid/cmdline" 2>/dev/null; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# process_load PID SECONDS: CPU_SHARE, the CPU seconds per second the process
# takes over SECONDS (all its threads), and WAKEUPS, its threads' context
# switches per second: what a process costs while it should be idle.
process_load() {
  local ticks0 wakeups0 t0 us
  ticks0=$(process_ticks "$1") wakeups0=$(process_wakeups "$1") t0=$(date +%s%N)
  sleep "$2"
  us=$((($(date +%s%N) - t0) / 1000))
  CPU_SHARE=$(awk -v t=$(($(process_ticks "$1") - ticks0)) -v hz="$(getconf CLK_TCK)" -v w="$us" \
    'BEGIN { printf "%.3f", t / hz / (w / 1e6) }')
  WAKEUPS=$(awk -v n=$(($(process_wakeups "$1") - wakeups0)) -v w="$us" \
    'BEGIN { printf "%.1f", n / (w / 1e6) }')
}
process_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# A thread may end between listing and reading: its switches are gone with it.
process_wakeups() {
  { cat /proc/"$1"/task/*/status 2>/dev/null || true; } | awk '/ctxt_switches/ { n += $2 } END { print n }'
}
