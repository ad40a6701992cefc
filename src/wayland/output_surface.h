#pragma once
#include <cstdint>
#include <string>

#include "wayland/saver_state.h"

// EGL on the compositor's connection: the desktop GL API, and a window config
// without alpha (with alpha, the scene's additive blending would leave the
// desktop showing through).
bool OpenEgl(WaylandSaver& saver, std::string& error);
void CloseEgl(WaylandSaver& saver);

// A wl_output global appeared: bind it and learn its scale and place. Once
// the saver is ready and the output described, it gets a surface.
void AddOutput(WaylandSaver& saver, uint32_t globalName, uint32_t version);
// Asks xdg-output, when the compositor has it, where each output lies in
// the layout (wl_output's own geometry often says 0,0).
void LearnLayoutPlaces(WaylandSaver& saver);
// Its layer surface on the overlay layer, stretched over the whole output.
void CoverOutput(SaverOutput& output);
// The global went: its surface, EGL surface, context and scene go too.
void RemoveOutput(WaylandSaver& saver, uint32_t globalName);
void ReleaseAllOutputs(WaylandSaver& saver);

// One frame on every output the compositor asked one of, at most one per
// 10 ms tick: a tick that finds an output still waiting for the compositor
// is kept for it, and the frame drawn as soon as the compositor asks.
void DrawDueOutputs(WaylandSaver& saver, bool tick);
