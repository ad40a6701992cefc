#pragma once
#include <cstddef>

// The password as typed: one fixed buffer, never reallocated, so no copy of
// it is left behind in freed memory. Longer input is capped, not overflowed.
constexpr size_t PasswordCapacity = 1024;  // bytes, with the closing NUL

struct PasswordBuffer {
  char text[PasswordCapacity] = {};
  size_t length = 0;
};

// Keeps the buffer's pages out of swap (mlock); false when the system will
// not, which leaves it usable, only swappable.
bool KeepInMemory(PasswordBuffer& buffer);

// Appends UTF-8 text whole, or not at all when it would not fit.
bool AppendText(PasswordBuffer& buffer, const char* utf8);
// Takes away the last character (all its UTF-8 bytes).
void EraseLastCharacter(PasswordBuffer& buffer);
// Overwrites every byte, in a way the compiler may not leave out.
void Wipe(PasswordBuffer& buffer);
// Moves `from` into `to`, leaving `from` wiped.
void MovePassword(PasswordBuffer& from, PasswordBuffer& to);
