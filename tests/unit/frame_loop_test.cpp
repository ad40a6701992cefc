#include "linux/frame_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <ctime>

#include "linux/stop_signals.h"

namespace {

int64_t Now() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// One sequence, since a stop signal, once taken, stays taken.
TEST(FrameLoop, ConnectionTicksOnAnAbsoluteClockAndStop) {
  BlockStopSignals();
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  FrameClock clock;
  StartFrameClock(clock);
  const int64_t start = clock.nextTick;
  constexpr int64_t Tick = 10'000'000;
  EXPECT_EQ(WaitForWake(clock, fds[0]), Wake::Tick);  // the first tick is due at once

  ASSERT_EQ(write(fds[1], "x", 1), 1);
  Wake wake;
  do wake = WaitForWake(clock, fds[0]); while (wake == Wake::Tick);  // a tick may come first
  EXPECT_EQ(wake, Wake::Connection);

  // A frame 25 ms late: one tick at once, then the next one of the clock's
  // own grid still ahead, not the ticks it missed.
  usleep(25'000);
  const int64_t late = Now();
  EXPECT_EQ(WaitForWake(clock, -1), Wake::Tick);
  EXPECT_GT(clock.nextTick, late);
  EXPECT_LE(clock.nextTick, Now() + Tick);
  EXPECT_EQ((clock.nextTick - start) % Tick, 0);

  // A stop signal that comes after the loop's last look and before its
  // wait (blocked, so it stays pending) still ends the wait at once, even
  // with the connection readable (the "x" is still unread), as a busy
  // compositor's is on every frame.
  raise(SIGTERM);
  EXPECT_EQ(WaitForWake(clock, fds[0]), Wake::Stop);
  EXPECT_EQ(WaitForWake(clock, -1), Wake::Stop);  // and for good
}

}  // namespace
