#pragma once

// One saver at a time per session: idle daemons start their command again
// at the slightest twitch of the mouse. The lock is an flock on a file in
// $XDG_RUNTIME_DIR, so it ends with its process however that ends.
enum class InstanceLock { Taken, HeldElsewhere, Unavailable };

// On Taken, `fd` holds the lock until the process ends.
InstanceLock TakeInstanceLock(int& fd);
