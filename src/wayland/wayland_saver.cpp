#include "wayland/wayland_saver.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "linux/frame_loop.h"
#include "linux/saver_options.h"
#include "linux/stop_signals.h"
#include "wayland/instance_lock.h"
#include "wayland/output_surface.h"
#include "wayland/release_proxy.h"
#include "wayland/saver_input.h"
#include "wayland/saver_state.h"
#include "wayland/session_lock.h"

namespace {

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version) {
  auto& saver = *static_cast<WaylandSaver*>(data);
  const std::string_view kind = interface;
  if (kind == wl_compositor_interface.name && saver.compositor == nullptr) {
    // Version 3 brings buffer scale.
    saver.compositorVersion = std::min(version, 4u);
    saver.compositor = static_cast<wl_compositor*>(
        wl_registry_bind(registry, name, &wl_compositor_interface, saver.compositorVersion));
  } else if (kind == zwlr_layer_shell_v1_interface.name && saver.layerShell == nullptr) {
    saver.layerShell = static_cast<zwlr_layer_shell_v1*>(
        wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, std::min(version, 4u)));
  } else if (kind == zxdg_output_manager_v1_interface.name && saver.xdgOutputManager == nullptr) {
    saver.xdgOutputManager = static_cast<zxdg_output_manager_v1*>(wl_registry_bind(
        registry, name, &zxdg_output_manager_v1_interface, std::min(version, 3u)));
    // Outputs bound before the manager learn their place now.
    LearnLayoutPlaces(saver);
  } else if (kind == wp_fractional_scale_manager_v1_interface.name &&
             saver.fractionalScaleManager == nullptr) {
    saver.fractionalScaleManager = static_cast<wp_fractional_scale_manager_v1*>(
        wl_registry_bind(registry, name, &wp_fractional_scale_manager_v1_interface, 1));
  } else if (kind == wp_viewporter_interface.name && saver.viewporter == nullptr) {
    saver.viewporter = static_cast<wp_viewporter*>(
        wl_registry_bind(registry, name, &wp_viewporter_interface, 1));
  } else if (kind == ext_session_lock_manager_v1_interface.name && saver.lock.manager == nullptr &&
             saver.role == SaverRole::Lock) {
    saver.lock.manager = static_cast<ext_session_lock_manager_v1*>(
        wl_registry_bind(registry, name, &ext_session_lock_manager_v1_interface, 1));
  } else if (kind == wl_shm_interface.name && saver.shm == nullptr) {
    saver.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  } else if (kind == wl_seat_interface.name) {
    BindSeat(saver, name, version);
  } else if (kind == wl_output_interface.name) {
    AddOutput(saver, name, version);
  }
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
  // Released by the loop's next UpdateOutputs.
  for (auto& o : static_cast<WaylandSaver*>(data)->outputs) {
    if (o->globalName == name) o->removed = true;
  }
}

const wl_registry_listener RegistryListener = {.global = OnGlobal,
                                               .global_remove = OnGlobalRemove};

void Close(WaylandSaver& saver) {
  ReleaseAllOutputs(saver);
  CloseEgl(saver);
  ReleaseSeat(saver);
  if (saver.xdgOutputManager != nullptr) zxdg_output_manager_v1_destroy(saver.xdgOutputManager);
  if (saver.fractionalScaleManager != nullptr) {
    wp_fractional_scale_manager_v1_destroy(saver.fractionalScaleManager);
  }
  if (saver.viewporter != nullptr) wp_viewporter_destroy(saver.viewporter);
  if (saver.shm != nullptr) wl_shm_destroy(saver.shm);
  DestroyProxy(saver.lock.manager, ext_session_lock_manager_v1_destroy);
  ReleaseProxy(saver.layerShell, ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION, zwlr_layer_shell_v1_destroy);
  if (saver.compositor != nullptr) wl_compositor_destroy(saver.compositor);
  if (saver.registry != nullptr) wl_registry_destroy(saver.registry);
  wl_display_flush(saver.display);
  wl_display_disconnect(saver.display);
}

int Fail(WaylandSaver& saver, const std::string& message) {
  std::fprintf(stderr, "rimeglass: %s\n", message.c_str());
  Close(saver);
  return 1;
}

// The connection broke: the compositor ended (status 0, as when the X
// display goes away), or it found us at fault (1).
int ConnectionLost(WaylandSaver& saver) {
  const int error = wl_display_get_error(saver.display);
  int status = 0;
  if (error == EPROTO) {
    const wl_interface* interface = nullptr;
    uint32_t id = 0;
    const uint32_t code = wl_display_get_protocol_error(saver.display, &interface, &id);
    std::fprintf(stderr, "rimeglass: the compositor ended the connection: protocol error %u on %s\n",
                 code, interface != nullptr ? interface->name : "an unknown object");
    status = 1;
  } else {
    std::fprintf(stderr, "rimeglass: the Wayland compositor went away (%s)\n",
                 std::strerror(error != 0 ? error : EPIPE));
  }
  // After a fatal error proxies may only be destroyed; the process ends
  // right after, so only the connection is closed. A lock that ends so
  // was not unlocked: the compositor keeps the session locked.
  StopPamCheck(saver.lock.check);
  wl_display_disconnect(saver.display);
  return saver.role == SaverRole::Lock ? 1 : status;
}

// One ppoll for the connection, the next 10 ms tick (only while a frame
// waits for one) and the stop signals; libwayland's prepare/read protocol
// keeps events from waiting in its queue while we sleep. What the listeners
// recorded is acted on before each wait.
int RunFrames(WaylandSaver& saver) {
  FrameClock clock;
  StartFrameClock(clock);
  const int fd = wl_display_get_fd(saver.display);
  const bool lock = saver.role == SaverRole::Lock;
  const int checkFd = saver.lock.check.answerRead;
  bool tick = false;
  while (!saver.quit) {
    if (lock && !TendSessionLock(saver)) break;
    UpdateOutputs(saver);
    DrawDueOutputs(saver, tick);
    tick = false;
    if (wl_display_prepare_read(saver.display) != 0) {
      // Events came while drawing (the driver reads the connection too):
      // acted on, and input seen, before any wait.
      if (wl_display_dispatch_pending(saver.display) < 0) return ConnectionLost(saver);
      continue;
    }
    if (wl_display_flush(saver.display) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(saver.display);
      return ConnectionLost(saver);
    }
    const Wake wake = FrameWaitsForTick(saver) ? WaitForWake(clock, fd, checkFd)
                                               : WaitForConnection(fd, checkFd);
    if (wake == Wake::Connection) {
      if (wl_display_read_events(saver.display) < 0) return ConnectionLost(saver);
    } else {
      wl_display_cancel_read(saver.display);
    }
    if (wl_display_dispatch_pending(saver.display) < 0) return ConnectionLost(saver);
    if (wake == Wake::Stop) break;
    tick = wake == Wake::Tick;
  }
  const int status = lock ? EndSessionLock(saver) : 0;
  Close(saver);
  return status;
}

// --daemonize: the parent waits until the child has the session locked,
// then returns 0 (1 if the child ended first, having said why), so that an
// idle daemon's before-sleep waits for the lock and no longer. Forked
// before any thread or connection exists.
bool Daemonize(int& lockedPipe, int& parentStatus) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  const pid_t child = fork();
  if (child < 0) return false;
  if (child > 0) {
    close(ends[1]);
    char locked = 0;
    ssize_t got;
    do got = read(ends[0], &locked, 1); while (got < 0 && errno == EINTR);
    parentStatus = got == 1 ? 0 : 1;
    return true;
  }
  close(ends[0]);
  setsid();
  lockedPipe = ends[1];
  parentStatus = -1;
  return true;
}

}  // namespace

int RunWaylandSaver(const SaverOptions& options) {
  WaylandSaver saver;
  saver.options = &options;
  saver.role = options.role;
  // Only a saver is alone: a lock host runs one background per output, and
  // a lock comes over a running saver.
  int lockFd = -1;
  if (saver.role == SaverRole::Saver && TakeInstanceLock(lockFd) == InstanceLock::HeldElsewhere) {
    return 0;
  }
  if (saver.role == SaverRole::Lock) {
    // No signal unlocks; only the password does.
    IgnoreStopSignals();
    if (options.daemonize) {
      int parentStatus = -1;
      if (!Daemonize(saver.lock.lockedPipe, parentStatus)) {
        std::fprintf(stderr, "rimeglass: cannot go to the background: %s\n", std::strerror(errno));
        return 1;
      }
      if (parentStatus >= 0) return parentStatus;
    }
  }
  if (saver.role == SaverRole::Background) {
    if (const char* name = std::getenv("SWAYLOCK_PLUGIN_OUTPUT_NAME")) saver.onlyOutput = name;
  }
  // Test-only, so that the tests can see an output without OpenGL covered.
  if (const char* name = std::getenv("RIMEGLASS_TEST_FAIL_EGL_OUTPUT")) saver.failEglOutput = name;
  saver.display = wl_display_connect(nullptr);
  if (saver.display == nullptr) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr, "rimeglass: cannot connect to the Wayland compositor '%s'\n",
                 name != nullptr && name[0] != '\0' ? name : "wayland-0");
    return 1;
  }
  saver.registry = wl_display_get_registry(saver.display);
  wl_registry_add_listener(saver.registry, &RegistryListener, &saver);
  // The globals, then what the bound ones tell about themselves.
  if (wl_display_roundtrip(saver.display) < 0) return ConnectionLost(saver);
  if (saver.compositor == nullptr) return Fail(saver, "the compositor offers no wl_compositor");
  std::string error;
  if (saver.role == SaverRole::Lock) {
    // Locked first, before EGL's start-up; without EGL every output is
    // covered in black, and the password still unlocks.
    if (!BeginSessionLock(saver, error)) return Fail(saver, error);
    if (!OpenEgl(saver, error)) std::fprintf(stderr, "rimeglass: %s: the lock is drawn black\n", error.c_str());
  } else {
    if (saver.layerShell == nullptr) {
      return Fail(saver,
                  "the compositor does not offer zwlr_layer_shell_v1 (wlr layer-shell), which the "
                  "saver needs to cover its outputs");
    }
    if (!OpenEgl(saver, error)) return Fail(saver, error);
  }
  if (wl_display_roundtrip(saver.display) < 0) return ConnectionLost(saver);
  const int status = RunFrames(saver);
  if (lockFd >= 0) close(lockFd);
  return status;
}
