#include "wayland/session_lock.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "wayland/instance_lock.h"
#include "wayland/release_proxy.h"

namespace {

void OnLocked(void* data, ext_session_lock_v1*) {
  static_cast<WaylandSaver*>(data)->lock.locked = true;
}
void OnFinished(void* data, ext_session_lock_v1*) {
  static_cast<WaylandSaver*>(data)->lock.finished = true;
}
const ext_session_lock_v1_listener LockListener = {.locked = OnLocked, .finished = OnFinished};

void OnLockSurfaceConfigure(void* data, ext_session_lock_surface_v1*, uint32_t serial, uint32_t width,
                            uint32_t height) {
  auto& o = *static_cast<SaverOutput*>(data);
  o.logicalWidth = static_cast<int32_t>(width);
  o.logicalHeight = static_cast<int32_t>(height);
  o.configureSerial = serial;
  o.configureUnanswered = true;
}
const ext_session_lock_surface_v1_listener LockSurfaceListener = {.configure = OnLockSurfaceConfigure};

// Once locked: a saver still running behind the lock goes now, not before,
// so that nothing but the saver or the lock ever shows; a parent waiting
// (--daemonize) returns.
void LockConfirmed(SessionLock& lock) {
  if (const pid_t saver = RunningSaver(); saver > 0 && saver != getpid()) kill(saver, SIGTERM);
  if (lock.lockedPipe >= 0) {
    const char locked = 'l';
    if (write(lock.lockedPipe, &locked, 1) != 1) {
      // The parent is gone: nobody waits for the answer.
    }
    close(lock.lockedPipe);
    lock.lockedPipe = -1;
  }
}

}  // namespace

bool BeginSessionLock(WaylandSaver& saver, std::string& error) {
  SessionLock& lock = saver.lock;
  if (lock.manager == nullptr) {
    error = "the compositor does not offer ext_session_lock_v1 (ext-session-lock), which --lock "
            "needs: nothing was locked";
    return false;
  }
  if (!StartPamCheck(lock.check, LockService, error)) return false;
  KeepInMemory(lock.prompt.typed);
  lock.lock = ext_session_lock_manager_v1_lock(lock.manager);
  ext_session_lock_v1_add_listener(lock.lock, &LockListener, &saver);
  return true;
}

void MakeLockSurface(SaverOutput& o) {
  o.lockSurface = ext_session_lock_v1_get_lock_surface(o.saver->lock.lock, o.surface, o.output);
  ext_session_lock_surface_v1_add_listener(o.lockSurface, &LockSurfaceListener, &o);
}

void AckLockConfigure(SaverOutput& o) {
  ext_session_lock_surface_v1_ack_configure(o.lockSurface, o.configureSerial);
}

void PressKeyOnLock(WaylandSaver& saver, uint32_t key) {
  SessionLock& lock = saver.lock;
  if (PressLockKey(lock.keyboard, lock.prompt, key, MonotonicMilliseconds())) {
    AskPamCheck(lock.check, lock.prompt.typed);
  }
}

bool TendSessionLock(WaylandSaver& saver) {
  SessionLock& lock = saver.lock;
  const int64_t now = MonotonicMilliseconds();
  switch (TakePamAnswer(lock.check)) {
    case CheckAnswer::Accepted:
      lock.unlocked = true;
      break;
    case CheckAnswer::Refused:
      // One line per try, never what was typed.
      std::fprintf(stderr, "rimeglass: wrong password (%u in a row)\n", lock.check.refusedInARow);
      PromptRefused(lock.prompt, now);
      break;
    case CheckAnswer::None:
      break;
  }
  AgePrompt(lock.prompt, now);
  if (lock.locked && !lock.confirmedActedOn) {
    LockConfirmed(lock);
    lock.confirmedActedOn = true;
  }
  // Before the compositor said locked, a right password still waits for it:
  // unlocking what is not yet locked is not allowed.
  return !lock.finished && !(lock.unlocked && lock.locked);
}

void DrawLockPrompt(const SaverOutput& o) {
  DrawPrompt(o.saver->lock.prompt, o.bufferWidth, o.bufferHeight, MonotonicMilliseconds());
}

int EndSessionLock(WaylandSaver& saver) {
  SessionLock& lock = saver.lock;
  int status = 0;
  if (lock.finished) {
    std::fprintf(stderr, "rimeglass: %s\n",
                 lock.locked ? "the compositor ended the lock"
                             : "the compositor refused to lock the session (is it locked already?)");
    status = 1;
  }
  // A lock the compositor confirmed goes only with unlock_and_destroy;
  // finished, the compositor has let go of it already.
  if (lock.locked && (lock.unlocked || lock.finished)) {
    ext_session_lock_v1_unlock_and_destroy(lock.lock);
    lock.lock = nullptr;
    // Processed before we go: only then is the session surely unlocked.
    wl_display_roundtrip(saver.display);
  } else if (lock.finished) {
    DestroyProxy(lock.lock, ext_session_lock_v1_destroy);
  }
  // Still locked otherwise: the connection's end leaves it so.
  StopPamCheck(lock.check);
  Wipe(lock.prompt.typed);
  ReleaseLockKeyboard(lock.keyboard);
  return status;
}
