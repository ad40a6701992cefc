#include "lock/password_buffer.h"

#include <sys/mman.h>

#include <cstring>

bool KeepInMemory(PasswordBuffer& buffer) { return mlock(&buffer, sizeof buffer) == 0; }

bool AppendText(PasswordBuffer& buffer, const char* utf8) {
  const size_t size = std::strlen(utf8);
  if (size >= PasswordCapacity - buffer.length) return false;
  std::memcpy(buffer.text + buffer.length, utf8, size);
  buffer.length += size;
  buffer.text[buffer.length] = '\0';
  return true;
}

void EraseLastCharacter(PasswordBuffer& buffer) {
  // Continuation bytes are 10xxxxxx: go back past them to the lead byte.
  while (buffer.length > 0) {
    const unsigned char byte = static_cast<unsigned char>(buffer.text[--buffer.length]);
    buffer.text[buffer.length] = '\0';
    if ((byte & 0xC0) != 0x80) break;
  }
}

void Wipe(PasswordBuffer& buffer) {
  explicit_bzero(buffer.text, sizeof buffer.text);
  buffer.length = 0;
}

void MovePassword(PasswordBuffer& from, PasswordBuffer& to) {
  Wipe(to);
  std::memcpy(to.text, from.text, from.length);
  to.length = from.length;
  Wipe(from);
}
