#include "wayland/lock_keyboard.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// The compose table of the locale the user types in, as their programs
// find it.
const char* TypingLocale() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return "C";
}

void DropState(LockKeyboard& keyboard) {
  if (keyboard.compose != nullptr) xkb_compose_state_unref(keyboard.compose);
  if (keyboard.state != nullptr) xkb_state_unref(keyboard.state);
  if (keyboard.keymap != nullptr) xkb_keymap_unref(keyboard.keymap);
  keyboard.compose = nullptr;
  keyboard.state = nullptr;
  keyboard.keymap = nullptr;
}

// Control characters (Tab, a Ctrl chord's) are not part of a password.
// The character is wiped from the stack once the prompt has it.
bool TypeCharacter(LockPrompt& prompt, char* utf8, size_t size, int64_t now) {
  const bool printable = utf8[0] != '\0' && static_cast<unsigned char>(utf8[0]) >= 0x20 && utf8[0] != 0x7F;
  const bool check = printable && PressPromptKey(prompt, PromptKey::Text, utf8, now);
  explicit_bzero(utf8, size);
  return check;
}

}  // namespace

void UseKeymap(LockKeyboard& keyboard, int fd, uint32_t size) {
  if (keyboard.context == nullptr) {
    keyboard.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (keyboard.context == nullptr) {
      close(fd);
      return;
    }
    keyboard.composeTable = xkb_compose_table_new_from_locale(keyboard.context, TypingLocale(),
                                                              XKB_COMPOSE_COMPILE_NO_FLAGS);
  }
  // Private: the compositor's map may be shared with other clients.
  void* text = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
  close(fd);
  if (text == MAP_FAILED) return;
  xkb_keymap* keymap = xkb_keymap_new_from_buffer(keyboard.context, static_cast<const char*>(text),
                                                  strnlen(static_cast<const char*>(text), size),
                                                  XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
  munmap(text, size);
  if (keymap == nullptr) return;
  DropState(keyboard);
  keyboard.keymap = keymap;
  keyboard.state = xkb_state_new(keymap);
  if (keyboard.composeTable != nullptr) {
    keyboard.compose = xkb_compose_state_new(keyboard.composeTable, XKB_COMPOSE_STATE_NO_FLAGS);
  }
}

void UpdateModifiers(LockKeyboard& keyboard, uint32_t depressed, uint32_t latched, uint32_t locked,
                     uint32_t group) {
  if (keyboard.state != nullptr) xkb_state_update_mask(keyboard.state, depressed, latched, locked, 0, 0, group);
}

bool PressLockKey(LockKeyboard& keyboard, LockPrompt& prompt, uint32_t key, int64_t now) {
  if (keyboard.state == nullptr) return false;
  const xkb_keycode_t code = key + 8;  // evdev codes to X11's, as the keymap has them
  const xkb_keysym_t symbol = xkb_state_key_get_one_sym(keyboard.state, code);
  char utf8[64] = {};
  if (keyboard.compose != nullptr && xkb_compose_state_feed(keyboard.compose, symbol) == XKB_COMPOSE_FEED_ACCEPTED) {
    switch (xkb_compose_state_get_status(keyboard.compose)) {
      case XKB_COMPOSE_COMPOSING:
        return false;
      case XKB_COMPOSE_CANCELLED:
        xkb_compose_state_reset(keyboard.compose);
        return false;
      case XKB_COMPOSE_COMPOSED:
        xkb_compose_state_get_utf8(keyboard.compose, utf8, sizeof utf8);
        xkb_compose_state_reset(keyboard.compose);
        return TypeCharacter(prompt, utf8, sizeof utf8, now);
      case XKB_COMPOSE_NOTHING:
        break;
    }
  }
  switch (symbol) {
    case XKB_KEY_Return:
    case XKB_KEY_KP_Enter:
      return PressPromptKey(prompt, PromptKey::Submit, "", now);
    case XKB_KEY_BackSpace:
      return PressPromptKey(prompt, PromptKey::Erase, "", now);
    case XKB_KEY_Escape:
      return PressPromptKey(prompt, PromptKey::Clear, "", now);
    default:
      break;
  }
  // Ctrl+U empties the field, as in a terminal.
  if (symbol == XKB_KEY_u &&
      xkb_state_mod_name_is_active(keyboard.state, XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) > 0) {
    return PressPromptKey(prompt, PromptKey::Clear, "", now);
  }
  xkb_state_key_get_utf8(keyboard.state, code, utf8, sizeof utf8);
  return TypeCharacter(prompt, utf8, sizeof utf8, now);
}

void ReleaseLockKeyboard(LockKeyboard& keyboard) {
  DropState(keyboard);
  if (keyboard.composeTable != nullptr) xkb_compose_table_unref(keyboard.composeTable);
  if (keyboard.context != nullptr) xkb_context_unref(keyboard.context);
  keyboard = LockKeyboard{};
}
