#pragma once
#include <cstdint>

// The one wait of a Linux front end: its display connection, the stop
// signals and the 10 ms frame tick, whichever comes first; and the same
// without the tick while nothing it draws can be seen.

enum class Wake { Connection, Tick, Stop };

// The Windows saver's 10 ms timer as an absolute deadline on CLOCK_MONOTONIC,
// so the time a frame takes does not stretch the pace.
struct FrameClock {
  int64_t nextTick = 0;  // nanoseconds
};

// The first tick is due at once.
void StartFrameClock(FrameClock& clock);

// Waits in one ppoll (see stop_signals.h) for whatever comes first:
// a stop signal -> Stop (and Stop on every call after); the tick deadline ->
// Tick, and the deadline moves on to the next tick still ahead, so a late
// frame is followed at once by one more, never by a burst of catching up;
// connectionFd readable or hung up -> Connection. A due tick is not held
// back by a busy connection, nor the connection by late frames: every call
// polls. connectionFd may be -1 (no connection). otherFd (-1: none), a
// front end's own worker, wakes it as Connection too: it reads both.
Wake WaitForWake(FrameClock& clock, int connectionFd, int otherFd = -1);

// The wait while nothing is drawn: no tick, so it sleeps until connectionFd
// is readable or hung up -> Connection, or a stop signal -> Stop. The clock
// is left alone: the first WaitForWake after it gives a Tick at once, and
// the pace goes on from there.
Wake WaitForConnection(int connectionFd, int otherFd = -1);
