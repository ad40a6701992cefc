#pragma once
#include <cstdint>

#include "wayland/saver_state.h"

// The seat's keyboard and pointer, taken when the seat has them (a virtual
// device may come later): a key, a button, a scroll, or a pointer jump sets
// saver.quit.
void BindSeat(WaylandSaver& saver, uint32_t globalName, uint32_t version);
void ReleaseSeat(WaylandSaver& saver);
