#pragma once
// What the Wayland saver holds: the connection's globals, one GL context,
// and per output its surface, EGL surface and scene.
#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "linux/saver_options.h"
#include "render/scene.h"
#include "wayland/layer_shell_protocol.h"
#include "wayland/lock_state.h"
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

struct WaylandSaver;

struct SaverOutput {
  WaylandSaver* saver = nullptr;
  uint32_t globalName = 0;
  wl_output* output = nullptr;
  zxdg_output_v1* xdgOutput = nullptr;
  std::string name;  // the compositor's, for messages (wl_output v4 or xdg-output)

  // What the compositor said, recorded by the listeners for the loop to act on.
  int32_t pendingScale = 1;  // wl_output's scale, in force from its next done
  int32_t scale = 1;
  uint32_t preferredScale = 0;  // wp_fractional_scale_v1's, in 120ths; 0 until told
  bool coverWanted = false;  // a done came: scale and place are known
  bool removed = false;  // the global went
  // Top left in the compositor's layout, in logical pixels.
  int32_t layoutX = 0;
  int32_t layoutY = 0;
  int32_t logicalWidth = 0;  // from the layer surface's last configure
  int32_t logicalHeight = 0;
  uint32_t configureSerial = 0;
  bool configureUnanswered = false;
  bool closed = false;  // the layer surface was closed
  bool frameDue = false;  // the compositor wants a frame (or none was drawn yet)

  // What the loop made of it.
  wl_surface* surface = nullptr;
  // Its role: a layer surface, or under --lock a lock surface.
  zwlr_layer_surface_v1* layer = nullptr;
  ext_session_lock_surface_v1* lockSurface = nullptr;
  // Only where the compositor offers fractional scales and viewports.
  wp_fractional_scale_v1* fractionalScale = nullptr;
  wp_viewport* viewport = nullptr;
  // Sent after the first commit: while it is unanswered, a preferred scale
  // sent in answer to that commit may still come, so no buffer is made yet.
  wl_callback* firstCommitSync = nullptr;
  int32_t viewportWidth = 0;  // the viewport's destination: the logical size
  int32_t viewportHeight = 0;
  int32_t bufferWidth = 0;  // logical size times scale: the output's own pixels
  int32_t bufferHeight = 0;
  int32_t bufferScale = 1;
  wl_egl_window* window = nullptr;
  EGLSurface eglSurface = EGL_NO_SURFACE;
  std::unique_ptr<Scene> scene;
  wl_callback* frameCallback = nullptr;
  bool tickUnused = false;  // a tick came since its last frame
  // Without OpenGL the output is covered by this buffer, in place of a scene.
  wl_buffer* blackBuffer = nullptr;
};

struct WaylandSaver {
  const SaverOptions* options = nullptr;
  SaverRole role = SaverRole::Saver;
  // --background: the one output to cover (SWAYLOCK_PLUGIN_OUTPUT_NAME),
  // empty for every output.
  std::string onlyOutput;
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_compositor* compositor = nullptr;
  uint32_t compositorVersion = 0;
  zwlr_layer_shell_v1* layerShell = nullptr;
  zxdg_output_manager_v1* xdgOutputManager = nullptr;
  wp_fractional_scale_manager_v1* fractionalScaleManager = nullptr;
  wp_viewporter* viewporter = nullptr;
  wl_shm* shm = nullptr;
  wl_seat* seat = nullptr;
  wl_pointer* pointer = nullptr;
  wl_keyboard* keyboard = nullptr;

  EGLDisplay egl = EGL_NO_DISPLAY;
  EGLConfig config = nullptr;
  // One context for every output: on a software renderer each context
  // compiles its own shaders on its first frame, which would delay the
  // first picture by that much per output. Outputs take turns with it.
  EGLContext context = EGL_NO_CONTEXT;
  const Scene* sceneInContext = nullptr;  // whose viewport and projection the context holds

  std::vector<std::unique_ptr<SaverOutput>> outputs;
  uint32_t scenesMade = 0;

  // The pointer's last place in layout coordinates, once it has one.
  SaverOutput* pointerOutput = nullptr;
  bool pointerKnown = false;
  double pointerX = 0;
  double pointerY = 0;

  bool quit = false;  // input asked the saver to end (never a lock)
  SessionLock lock;  // --lock only

  // Test-only: the output of this name gets no EGL surface
  // (RIMEGLASS_TEST_FAIL_EGL_OUTPUT, read once at start).
  std::string failEglOutput;
};
