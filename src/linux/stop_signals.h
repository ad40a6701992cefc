#pragma once
#include <poll.h>

// SIGTERM, SIGINT and SIGHUP: a daemon asks once and never kills, so the
// saver must notice within a frame and end by itself, with status 0.

// Blocks the stop signals in the whole process (call first in main, before
// any thread starts, so every thread inherits the mask) and installs their
// handler. From then on they are taken only inside PollTakingStopSignals, so
// one cannot land between a check of StopSignalled and the sleep after it.
// (ppoll's mask rather than a signalfd: no descriptor to carry into every
// front end's poll set, and the wait needs nothing but the stop flag.)
void BlockStopSignals();

// True once a stop signal has been taken; it stays true.
bool StopSignalled();

// ppoll with the stop signals let in for the wait only: a stop signal that
// came before the call, or comes during it, ends it with EINTR.
int PollTakingStopSignals(pollfd* fds, nfds_t count, const timespec* timeout);

// For a session lock, which no signal may end: from now on the stop signals
// are ignored (a pending one is dropped), and StopSignalled stays false.
void IgnoreStopSignals();
