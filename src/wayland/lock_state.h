#pragma once
// What the session lock holds beside the saver's outputs (--lock).
#include <sys/types.h>

#include "ext-session-lock-v1-client-protocol.h"
#include "lock/lock_prompt.h"
#include "lock/pam_check.h"
#include "wayland/lock_keyboard.h"

struct SessionLock {
  ext_session_lock_manager_v1* manager = nullptr;
  ext_session_lock_v1* lock = nullptr;
  bool locked = false;    // the compositor confirmed it: only lock surfaces show
  bool finished = false;  // the compositor refused the lock, or ended it
  bool unlocked = false;  // the password was right
  bool confirmedActedOn = false;  // what follows locked was done
  int lockedPipe = -1;  // --daemonize: the waiting parent hears here once locked
  LockPrompt prompt;
  LockKeyboard keyboard;
  PamCheck check;
};
