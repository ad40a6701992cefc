#pragma once
#include <cstdint>

#include "wayland/saver_state.h"

// --lock: the session locked with ext-session-lock-v1, a scene on each
// output's lock surface, and the password prompt over it. Only PAM's
// success unlocks; the compositor keeps the session locked if we die.

constexpr const char* LockService = "rimeglass";  // /etc/pam.d/rimeglass

// Asks the compositor to lock at once. False, with `error`, when it cannot
// be asked (no ext_session_lock_manager_v1) or the check cannot start.
bool BeginSessionLock(WaylandSaver& saver, std::string& error);
// The output's surface as a lock surface, its configures recorded as a
// layer surface's are.
void MakeLockSurface(SaverOutput& o);
void AckLockConfigure(SaverOutput& o);
// A key typed on the lock.
void PressKeyOnLock(WaylandSaver& saver, uint32_t key);
// The loop's share: answers from the check, the prompt's time, and once
// locked, the handover from a running saver and a waiting parent told.
// Returns false once the lock's run is over: unlocked, or finished by the
// compositor.
bool TendSessionLock(WaylandSaver& saver);
// Draws the prompt over the output's scene.
void DrawLockPrompt(const SaverOutput& o);
// The lock's end: unlocked if the password was right (exit status 0), else
// what the compositor did (1, with one line said).
int EndSessionLock(WaylandSaver& saver);
