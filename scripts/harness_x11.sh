# Sourced after harness.sh by what runs the X11 saver: its tests and its
# benchmark.

# x11_init SAVER: a copy of SAVER in the work folder, where the unprivileged
# account can run it (a clone under /root is out of its reach), and a private
# HOME that account owns. Savers still running from the copy end at clean-up.
x11_init() {
  mkdir "$HARNESS_DIR/bin" "$HARNESS_DIR/home"
  install -m 755 "$1" "$HARNESS_DIR/bin/rimeglass"
  SAVER=$HARNESS_DIR/bin/rimeglass
  export HOME=$HARNESS_DIR/home
  unset XSCREENSAVER_WINDOW
  DAEMON_USER=()
  if [ ${#HARNESS_USER[@]} -gt 0 ]; then
    chown nobody:nogroup "$HOME"
    DAEMON_USER=("${HARNESS_USER[@]}" env HOME="$HOME")
  fi
  harness_at_exit stop_savers
}

# How the daemons run the saver. The colour field has near-black patches at
# some seeds and moments, which the probe cannot tell from an uncovered
# window; seed 1 has none in its first 300 frames at 1024x768, and a sanitized
# saver on a busy machine may draw no more than that in the probe's 10 s.
DAEMON_SAVER_ARGS="--root --seed 1"

# XScreenSaver's side (the daemon and its commands) runs as the unprivileged
# account; DAEMON_USER is that prefix, for programs that run a command themselves.
as_daemon_user() { "${DAEMON_USER[@]}" "$@"; }

# The savers running from this copy, and no one else's.
saver_pids() { pgrep -f "^$SAVER( |\$)"; }
no_savers() { ! saver_pids >/dev/null; }
stop_savers() {
  local pid
  for pid in $(saver_pids); do kill "$pid"; done
  wait_for 2 no_savers || for pid in $(saver_pids); do kill -KILL "$pid"; done
}

# start_xscreensaver PROGRAM: the daemon with PROGRAM as its one saver, run
# only on command; returns once it answers. DAEMON is its pid.
start_xscreensaver() {
  printf '%s\n' 'mode: one' 'selected: 0' 'splash: False' 'fade: False' 'unfade: False' \
    'lock: False' 'dpmsEnabled: False' 'timeout: 1:00:00' 'cycle: 0' \
    "programs: GL: $1 $DAEMON_SAVER_ARGS \\n\\" >"$HOME/.xscreensaver"
  as_daemon_user xscreensaver --no-splash --verbose >"$HARNESS_DIR/xscreensaver.log" 2>&1 &
  DAEMON=$!
  harness_track "$DAEMON"
  wait_for 20 daemon_command -time
}
daemon_command() { as_daemon_user xscreensaver-command "$@" >/dev/null 2>&1; }

# The window a daemon gave a saver, from its environment.
daemon_window() { tr '\0' '\n' <"/proc/$1/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p'; }

# Screen and window probes through libX11 (see the script).
probe() { python3 "$HARNESS_SCRIPTS/x11_probe.py" "$@"; }
