#pragma once
#include <csignal>

// Set by SIGTERM, SIGINT or SIGHUP: the daemon asks once and never kills, so
// the saver must notice within a frame and end by itself.
extern volatile sig_atomic_t StopRequested;

void InstallStopSignals();

// The Windows saver's 10 ms timer: frames start on ticks of an absolute
// clock, so the time a frame takes does not stretch the pace, and a late
// frame is followed at once by one more, never by a burst of catching up.
void StartFramePace();

// Sleeps until the next tick. A stop signal cuts the sleep short.
void WaitForNextFrame();
