#pragma once
// TEMPORARY: stands in for the scene-per-screen core and the shared Linux
// loop until both are on main; removed by the merge that brings them.
#include <poll.h>
#include <csignal>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <memory>

#include "common/gl.h"
#include "common/viewport.h"
#include "render/draw_scene.h"
#include "render/init_gl.h"
#include "render/prepare_scene.h"
#include "x11/saver_options.h"

struct Scene {
  int32_t width = 0;
  int32_t height = 0;
  bool preview = false;
};
inline std::unique_ptr<Scene> MakeScene() { return std::make_unique<Scene>(); }
inline void PrepareScene(Scene& s, int32_t w, int32_t h, bool preview, uint32_t seed) {
  s = {w, h, preview};
  PrepareScene(w, h, preview, seed);
}
inline void ResizeScene(Scene& s, int32_t w, int32_t h, bool preview) {
  s = {w, h, preview};
  ResizeScene(w, h, preview);
}
inline void InitGL(const Scene& s) {
  ResizeScene(s.width, s.height, s.preview);
  InitGL();
}
inline void DrawFrame(Scene& s) {
  if (ViewportSize.width != s.width || ViewportSize.height != s.height)
    ResizeScene(s.width, s.height, s.preview);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawScene();
}

inline volatile sig_atomic_t ShimStop = 0;
inline void ShimOnStop(int) { ShimStop = 1; }
inline void BlockStopSignals() {
  struct sigaction action{};
  action.sa_handler = ShimOnStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGHUP);
  sigprocmask(SIG_BLOCK, &stops, nullptr);
}
enum class Wake { Connection, Tick, Stop };
struct FrameClock {
  timespec next;
};
inline void ShimAdvance(timespec& t, const timespec& now) {
  t.tv_nsec += 10'000'000;
  if (t.tv_nsec >= 1'000'000'000) {
    t.tv_nsec -= 1'000'000'000;
    ++t.tv_sec;
  }
  if (t.tv_sec < now.tv_sec || (t.tv_sec == now.tv_sec && t.tv_nsec < now.tv_nsec)) t = now;
}
inline void StartFrameClock(FrameClock& c) {
  clock_gettime(CLOCK_MONOTONIC, &c.next);
  ShimAdvance(c.next, c.next);
}
inline Wake WaitForWake(FrameClock& c, int fd) {
  for (;;) {
    if (ShimStop) return Wake::Stop;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    long long left = (c.next.tv_sec - now.tv_sec) * 1'000'000'000LL + (c.next.tv_nsec - now.tv_nsec);
    if (left <= 0) {
      ShimAdvance(c.next, now);
      return Wake::Tick;
    }
    timespec timeout{static_cast<time_t>(left / 1'000'000'000), static_cast<long>(left % 1'000'000'000)};
    sigset_t none;
    sigemptyset(&none);
    pollfd p{fd, POLLIN, 0};
    const int n = ppoll(fd < 0 ? nullptr : &p, fd < 0 ? 0 : 1, &timeout, &none);
    if (n > 0) return Wake::Connection;
  }
}
