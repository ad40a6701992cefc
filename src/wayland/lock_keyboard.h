#pragma once
#include <cstdint>

#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include "lock/lock_prompt.h"

// Keys for the lock's prompt, read through the compositor's keymap as any
// text field would: its layouts and modifiers, dead keys and compose
// sequences from the user's locale, any character.
struct LockKeyboard {
  xkb_context* context = nullptr;
  xkb_keymap* keymap = nullptr;
  xkb_state* state = nullptr;
  xkb_compose_table* composeTable = nullptr;  // none when the locale has none
  xkb_compose_state* compose = nullptr;
};

// A keymap from the compositor (wl_keyboard.keymap): replaces the one in use.
// Takes the descriptor and closes it.
void UseKeymap(LockKeyboard& keyboard, int fd, uint32_t size);
void UpdateModifiers(LockKeyboard& keyboard, uint32_t depressed, uint32_t latched, uint32_t locked,
                     uint32_t group);
// A pressed key (wl_keyboard's key code) to the prompt; true when it asks
// for a check of what was typed.
bool PressLockKey(LockKeyboard& keyboard, LockPrompt& prompt, uint32_t key, int64_t now);
void ReleaseLockKeyboard(LockKeyboard& keyboard);
