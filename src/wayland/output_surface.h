#pragma once
#include <cstdint>
#include <string>

#include "wayland/saver_state.h"

// EGL on the compositor's connection: the desktop GL API, and a window config
// without alpha (with alpha, the scene's additive blending would leave the
// desktop showing through).
bool OpenEgl(WaylandSaver& saver, std::string& error);
void CloseEgl(WaylandSaver& saver);

// A wl_output global appeared: bind it and listen for its scale and place.
void AddOutput(WaylandSaver& saver, uint32_t globalName, uint32_t version);
// Asks xdg-output, when the compositor has it, where each output lies in
// the layout (wl_output's own geometry often says 0,0).
void LearnLayoutPlaces(WaylandSaver& saver);
void ReleaseAllOutputs(WaylandSaver& saver);

// The loop's answer to what the listeners recorded: outputs gone are
// released, closed surfaces too; a described output gets its layer surface,
// a configure its answer, a new size or scale its EGL window and scene.
void UpdateOutputs(WaylandSaver& saver);

// One frame on every output the compositor asked one of, at most one per
// 10 ms tick: a tick that finds an output still waiting for the compositor
// is kept for it, and the frame drawn as soon as the compositor asks.
void DrawDueOutputs(WaylandSaver& saver, bool tick);

// Some output has a frame to draw at the next tick. While none has (each
// waits for the compositor's frame callback, as hidden, locked or powered-down
// outputs do for good), the loop needs no tick.
bool FrameWaitsForTick(const WaylandSaver& saver);
