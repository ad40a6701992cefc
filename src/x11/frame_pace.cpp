#include "x11/frame_pace.h"

#include <cerrno>
#include <ctime>

volatile sig_atomic_t StopRequested = 0;

namespace {

constexpr long FrameNanoseconds = 10'000'000;
constexpr long NanosecondsPerSecond = 1'000'000'000;

timespec NextTick;

void OnStopSignal(int) { StopRequested = 1; }

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

void InstallStopSignals() {
  struct sigaction action{};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: the frame sleep must return when a signal arrives.
  action.sa_flags = 0;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

void StartFramePace() { clock_gettime(CLOCK_MONOTONIC, &NextTick); }

void WaitForNextFrame() {
  NextTick.tv_nsec += FrameNanoseconds;
  if (NextTick.tv_nsec >= NanosecondsPerSecond) {
    NextTick.tv_nsec -= NanosecondsPerSecond;
    ++NextTick.tv_sec;
  }
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  if (Before(NextTick, now)) NextTick = now;
  while (!StopRequested &&
         clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &NextTick, nullptr) == EINTR) {
  }
}
