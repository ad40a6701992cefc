#include "linux/stop_signals.h"

#include <pthread.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int StopSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t Stopped = 0;
// The mask the process had before, less the stop signals: the one to wait under.
sigset_t WaitMask;
bool Blocked = false;

void OnStopSignal(int) { Stopped = 1; }

}  // namespace

void BlockStopSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  for (int signal : StopSignals) sigaddset(&stop, signal);
  pthread_sigmask(SIG_BLOCK, &stop, &WaitMask);
  for (int signal : StopSignals) sigdelset(&WaitMask, signal);

  struct sigaction action{};
  action.sa_handler = OnStopSignal;
  action.sa_mask = stop;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  Blocked = true;
}

void IgnoreStopSignals() {
  // Ignored, a pending one is dropped; unblocked too, since Linux keeps a
  // blocked signal pending even while it is ignored.
  struct sigaction action{};
  action.sa_handler = SIG_IGN;
  sigset_t stop;
  sigemptyset(&stop);
  for (int signal : StopSignals) {
    sigaction(signal, &action, nullptr);
    sigaddset(&stop, signal);
  }
  pthread_sigmask(SIG_UNBLOCK, &stop, nullptr);
  Blocked = false;
  Stopped = 0;
}

bool StopSignalled() { return Stopped != 0; }

int PollTakingStopSignals(pollfd* fds, nfds_t count, const timespec* timeout) {
  const int ready = ppoll(fds, count, timeout, Blocked ? &WaitMask : nullptr);
  if (ready < 0 || !Blocked) return ready;
  // Linux lets a pending signal in during ppoll only when nothing is ready:
  // with the connection readable at once, as it is on every frame of a busy
  // compositor, the signal would wait for a quiet moment that may not come
  // for a second. Take it here then.
  sigset_t pending;
  sigpending(&pending);
  for (int signal : StopSignals) {
    if (!sigismember(&pending, signal)) continue;
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    const timespec now{0, 0};
    sigtimedwait(&one, nullptr, &now);
    Stopped = 1;
    errno = EINTR;
    return -1;
  }
  return ready;
}
