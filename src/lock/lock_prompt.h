#pragma once
#include <cstdint>

#include "lock/password_buffer.h"

// The lock's password prompt: what was typed, and what its indicator shows.
// The indicator never shows the characters, nor how many there are: a ring
// whose highlight jumps to a new place with each key.

enum class PromptState {
  Idle,      // nothing typed: the crystal alone
  Typing,    // the ring, its highlight where the last key put it
  Checking,  // the ring turning while PAM decides; keys are not taken
  Wrong,     // the ring red for a moment after a refused password
};

enum class PromptKey { Text, Erase, Clear, Submit };

struct LockPrompt {
  PasswordBuffer typed;
  PromptState state = PromptState::Idle;
  uint32_t mark = 0;  // the highlight's place, one of the ring's segments
  bool erased = false;  // the last key took a character away
  uint32_t markState = 0x9E3779B9u;  // the jumps' generator
  int64_t since = 0;  // when the state began, ms on the monotonic clock
};

// A key: Text appends `utf8` (capped at the buffer), Erase takes a character
// away, Clear empties it, Submit asks for a check. True when a check should
// start now with `typed`. Keys while a check runs are not taken.
bool PressPromptKey(LockPrompt& prompt, PromptKey key, const char* utf8, int64_t now);
// The check ended without letting the user in.
void PromptRefused(LockPrompt& prompt, int64_t now);
// Time passing: the wrong state fades back to idle.
void AgePrompt(LockPrompt& prompt, int64_t now);

// Draws the indicator over the scene just drawn, in the middle of a
// width x height viewport, leaving every GL state as it found it.
void DrawPrompt(const LockPrompt& prompt, int width, int height, int64_t now);

int64_t MonotonicMilliseconds();
