#include "wayland/wayland_saver.h"

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
#include "wayland/instance_lock.h"
#include "wayland/output_surface.h"
#include "wayland/release_proxy.h"
#include "wayland/saver_input.h"
#include "wayland/saver_state.h"

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
  // right after, so only the connection is closed.
  wl_display_disconnect(saver.display);
  return status;
}

// One ppoll for the connection, the next 10 ms tick (only while a frame
// waits for one) and the stop signals; libwayland's prepare/read protocol
// keeps events from waiting in its queue while we sleep. What the listeners
// recorded is acted on before each wait.
int RunFrames(WaylandSaver& saver) {
  FrameClock clock;
  StartFrameClock(clock);
  const int fd = wl_display_get_fd(saver.display);
  bool tick = false;
  while (!saver.quit) {
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
    const Wake wake = FrameWaitsForTick(saver) ? WaitForWake(clock, fd) : WaitForConnection(fd);
    if (wake == Wake::Connection) {
      if (wl_display_read_events(saver.display) < 0) return ConnectionLost(saver);
    } else {
      wl_display_cancel_read(saver.display);
    }
    if (wl_display_dispatch_pending(saver.display) < 0) return ConnectionLost(saver);
    if (wake == Wake::Stop) break;
    tick = wake == Wake::Tick;
  }
  Close(saver);
  return 0;
}

}  // namespace

int RunWaylandSaver(const SaverOptions& options) {
  int lockFd = -1;
  if (TakeInstanceLock(lockFd) == InstanceLock::HeldElsewhere) return 0;

  WaylandSaver saver;
  saver.options = &options;
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
  if (saver.layerShell == nullptr) {
    return Fail(saver,
                "the compositor does not offer zwlr_layer_shell_v1 (wlr layer-shell), which the "
                "saver needs to cover its outputs");
  }
  if (saver.compositor == nullptr) return Fail(saver, "the compositor offers no wl_compositor");
  std::string error;
  if (!OpenEgl(saver, error)) return Fail(saver, error);
  if (wl_display_roundtrip(saver.display) < 0) return ConnectionLost(saver);
  const int status = RunFrames(saver);
  if (lockFd >= 0) close(lockFd);
  return status;
}
