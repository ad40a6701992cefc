#pragma once
#include <sys/types.h>

// One saver at a time per session: idle daemons start their command again
// at the slightest twitch of the mouse. The lock is a record lock on a file
// in $XDG_RUNTIME_DIR, so it ends with its process however that ends, and
// names the process that holds it.
enum class InstanceLock { Taken, HeldElsewhere, Unavailable };

// On Taken, `fd` holds the lock until the process ends.
InstanceLock TakeInstanceLock(int& fd);

// The running saver's process, or 0 when none runs: the session lock ends
// it once the session is locked.
pid_t RunningSaver();
