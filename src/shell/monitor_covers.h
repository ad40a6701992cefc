#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "shell/scene_window.h"

// Full screen on a desk with several monitors: the saver's own window stays
// on the primary one, and every other monitor gets a cover of its own that
// draws a scene of its own, laid out for that monitor's size. A cover that
// cannot get an OpenGL context stays plain black, so no monitor ever keeps
// showing the live desktop while the saver runs.

// A monitor other than the primary and its cover. The monitor is known by
// its device name, which it keeps when it goes and comes back or changes mode.
struct MonitorCover {
  char device[CCHDEVICENAME];
  SceneWindow screen;
};

// Makes the saver's windows match the monitors as the system lists them now.
// `saver`, the saver's own window, takes the primary's place. A monitor
// without a cover gets one, owned by the saver's window so that it goes with
// it, showing itself once the message loop runs; its scene is seeded with
// seed + its place in `covers`, counted from 1. A cover whose monitor is gone
// is released and destroyed. A window whose monitor moved is moved, and its
// scene laid out for the new size. Keys and mouse moves over a cover go to
// the saver window's own handlers. Returns the monitors' MonitorLayout.
uint64_t MatchMonitors(SceneWindow& saver, std::vector<MonitorCover>& covers, uint32_t seed);

// A fingerprint of the monitors as the system lists them now: their names,
// places and sizes and which is the primary. Equal fingerprints, nothing
// changed.
uint64_t MonitorLayout();
