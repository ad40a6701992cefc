#pragma once

struct SaverOptions;

// Covers every output of the Wayland compositor named by WAYLAND_DISPLAY with
// a layer-shell surface on the overlay layer and draws a scene on each until
// input, a stop signal or the compositor's end. Returns the exit status: 0
// when ended as a saver should be (also when another instance already runs),
// 1 with one line on stderr when it cannot run here.
int RunWaylandSaver(const SaverOptions& options);
