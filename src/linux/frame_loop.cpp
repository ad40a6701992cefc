#include "linux/frame_loop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "linux/stop_signals.h"

namespace {

constexpr int64_t TickNanoseconds = 10'000'000;
constexpr int64_t NanosecondsPerSecond = 1'000'000'000;

int64_t MonotonicNow() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * NanosecondsPerSecond + now.tv_nsec;
}

// Nothing to wait on would make the loop spin: end as if asked to.
Wake CannotWait() {
  std::fprintf(stderr, "rimeglass: cannot wait for the next frame: %s\n", std::strerror(errno));
  return Wake::Stop;
}

}  // namespace

void StartFrameClock(FrameClock& clock) { clock.nextTick = MonotonicNow(); }

Wake WaitForWake(FrameClock& clock, int connectionFd, int otherFd) {
  // poll ignores a negative descriptor.
  pollfd fds[2] = {{connectionFd, POLLIN, 0}, {otherFd, POLLIN, 0}};
  for (;;) {
    if (StopSignalled()) return Wake::Stop;
    // A tick already due still polls, without waiting, so that a stop signal
    // or the connection is seen even when every frame is late.
    const int64_t left = std::max<int64_t>(0, clock.nextTick - MonotonicNow());
    const timespec timeout{static_cast<time_t>(left / NanosecondsPerSecond),
                           static_cast<long>(left % NanosecondsPerSecond)};
    fds[0].revents = fds[1].revents = 0;
    const int ready = PollTakingStopSignals(fds, 2, &timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return CannotWait();
    }
    const int64_t now = MonotonicNow();
    if (now >= clock.nextTick) {
      clock.nextTick += ((now - clock.nextTick) / TickNanoseconds + 1) * TickNanoseconds;
      return Wake::Tick;
    }
    if (ready > 0) return Wake::Connection;
  }
}

Wake WaitForConnection(int connectionFd, int otherFd) {
  pollfd fds[2] = {{connectionFd, POLLIN, 0}, {otherFd, POLLIN, 0}};
  for (;;) {
    if (StopSignalled()) return Wake::Stop;
    fds[0].revents = fds[1].revents = 0;
    const int ready = PollTakingStopSignals(fds, 2, nullptr);
    if (ready > 0) return Wake::Connection;
    if (ready < 0 && errno != EINTR) return CannotWait();
  }
}
