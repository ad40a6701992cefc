#include "wayland/saver_input.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "wayland/release_proxy.h"
#include "wayland/session_lock.h"

namespace {

// Input ends a saver; a lock only by its password.
void InputEnds(WaylandSaver& saver) {
  if (saver.role == SaverRole::Saver) saver.quit = true;
}

// Farther than this between two pointer events, in logical pixels along
// either axis, is a deliberate move, not a jittering desk.
constexpr double PointerJump = 30;

// The pointer's place on an output's surface, in layout coordinates, so a
// move onto another output counts by the distance it really went. The first
// place only starts the watch.
void PointerAt(WaylandSaver& saver, wl_fixed_t surfaceX, wl_fixed_t surfaceY) {
  if (saver.pointerOutput == nullptr) return;
  const double x = saver.pointerOutput->layoutX + wl_fixed_to_double(surfaceX);
  const double y = saver.pointerOutput->layoutY + wl_fixed_to_double(surfaceY);
  if (saver.pointerKnown &&
      (std::fabs(x - saver.pointerX) > PointerJump || std::fabs(y - saver.pointerY) > PointerJump)) {
    InputEnds(saver);
  }
  saver.pointerX = x;
  saver.pointerY = y;
  saver.pointerKnown = true;
}

void OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface,
                    wl_fixed_t x, wl_fixed_t y) {
  auto& saver = *static_cast<WaylandSaver*>(data);
  // No cursor over the saver.
  wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
  saver.pointerOutput = nullptr;
  for (auto& o : saver.outputs) {
    if (o->surface == surface && surface != nullptr) saver.pointerOutput = o.get();
  }
  PointerAt(saver, x, y);
}
void OnPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) {
  static_cast<WaylandSaver*>(data)->pointerOutput = nullptr;
}
void OnPointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
  PointerAt(*static_cast<WaylandSaver*>(data), x, y);
}
void OnButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
  if (state == WL_POINTER_BUTTON_STATE_PRESSED) InputEnds(*static_cast<WaylandSaver*>(data));
}
void OnAxis(void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {
  InputEnds(*static_cast<WaylandSaver*>(data));
}
void OnPointerFrame(void*, wl_pointer*) {}
void OnAxisSource(void*, wl_pointer*, uint32_t) {}
void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void OnAxisDiscrete(void* data, wl_pointer*, uint32_t, int32_t) {
  InputEnds(*static_cast<WaylandSaver*>(data));
}
const wl_pointer_listener PointerListener = {.enter = OnPointerEnter,
                                             .leave = OnPointerLeave,
                                             .motion = OnPointerMotion,
                                             .button = OnButton,
                                             .axis = OnAxis,
                                             .frame = OnPointerFrame,
                                             .axis_source = OnAxisSource,
                                             .axis_stop = OnAxisStop,
                                             .axis_discrete = OnAxisDiscrete,
                                             .axis_value120 = nullptr};

void OnKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
  auto& saver = *static_cast<WaylandSaver*>(data);
  // Keys end the saver whatever they mean; only the lock's prompt reads them.
  if (saver.role == SaverRole::Lock && format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
    UseKeymap(saver.lock.keyboard, fd, size);
  } else {
    close(fd);
  }
}
void OnKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void OnKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
  auto& saver = *static_cast<WaylandSaver*>(data);
  if (state != WL_KEYBOARD_KEY_STATE_PRESSED) return;
  InputEnds(saver);
  if (saver.role == SaverRole::Lock) PressKeyOnLock(saver, key);
}
void OnModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
                 uint32_t locked, uint32_t group) {
  auto& saver = *static_cast<WaylandSaver*>(data);
  if (saver.role == SaverRole::Lock) UpdateModifiers(saver.lock.keyboard, depressed, latched, locked, group);
}
void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener KeyboardListener = {.keymap = OnKeymap,
                                               .enter = OnKeyboardEnter,
                                               .leave = OnKeyboardLeave,
                                               .key = OnKey,
                                               .modifiers = OnModifiers,
                                               .repeat_info = OnRepeatInfo};

void ReleasePointer(WaylandSaver& saver) {
  ReleaseProxy(saver.pointer, WL_POINTER_RELEASE_SINCE_VERSION, wl_pointer_release);
  saver.pointer = nullptr;
  saver.pointerOutput = nullptr;
}

void ReleaseKeyboard(WaylandSaver& saver) {
  ReleaseProxy(saver.keyboard, WL_KEYBOARD_RELEASE_SINCE_VERSION, wl_keyboard_release);
  saver.keyboard = nullptr;
}

void OnCapabilities(void* data, wl_seat* seat, uint32_t capabilities) {
  auto& saver = *static_cast<WaylandSaver*>(data);
  const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
  const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
  if (pointer && saver.pointer == nullptr) {
    saver.pointer = wl_seat_get_pointer(seat);
    wl_pointer_add_listener(saver.pointer, &PointerListener, &saver);
  } else if (!pointer) {
    ReleasePointer(saver);
  }
  if (keyboard && saver.keyboard == nullptr) {
    saver.keyboard = wl_seat_get_keyboard(seat);
    wl_keyboard_add_listener(saver.keyboard, &KeyboardListener, &saver);
  } else if (!keyboard) {
    ReleaseKeyboard(saver);
  }
}
void OnSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener SeatListener = {.capabilities = OnCapabilities, .name = OnSeatName};

}  // namespace

void BindSeat(WaylandSaver& saver, uint32_t globalName, uint32_t version) {
  // The first seat is the user's; up to version 5, whose pointer events
  // the listener above all handles. A lock host's background leaves input
  // to the host.
  if (saver.seat != nullptr || saver.role == SaverRole::Background) return;
  saver.seat = static_cast<wl_seat*>(
      wl_registry_bind(saver.registry, globalName, &wl_seat_interface, std::min(version, 5u)));
  wl_seat_add_listener(saver.seat, &SeatListener, &saver);
}

void ReleaseSeat(WaylandSaver& saver) {
  ReleasePointer(saver);
  ReleaseKeyboard(saver);
  ReleaseProxy(saver.seat, WL_SEAT_RELEASE_SINCE_VERSION, wl_seat_release);
  saver.seat = nullptr;
}
