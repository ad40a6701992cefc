#include "wayland/output_surface.h"

#include <EGL/eglext.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "common/random.h"
#include "linux/saver_options.h"
#include "render/scene_lifecycle.h"
#include "wayland/black_buffer.h"
#include "wayland/release_proxy.h"
#include "wayland/session_lock.h"

namespace {

// The listeners record what the compositor said; UpdateOutputs acts on it.

void OnFrameDone(void* data, wl_callback* callback, uint32_t) {
  auto& o = *static_cast<SaverOutput*>(data);
  wl_callback_destroy(callback);
  o.frameCallback = nullptr;
  o.frameDue = true;
}
const wl_callback_listener FrameListener = {.done = OnFrameDone};

void OnLayerConfigure(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width,
                      uint32_t height) {
  auto& o = *static_cast<SaverOutput*>(data);
  o.logicalWidth = static_cast<int32_t>(width);
  o.logicalHeight = static_cast<int32_t>(height);
  o.configureSerial = serial;
  o.configureUnanswered = true;
}
void OnLayerClosed(void* data, zwlr_layer_surface_v1*) {
  static_cast<SaverOutput*>(data)->closed = true;
}
const zwlr_layer_surface_v1_listener LayerListener = {.configure = OnLayerConfigure,
                                                       .closed = OnLayerClosed};

void OnPreferredScale(void* data, wp_fractional_scale_v1*, uint32_t scale) {
  static_cast<SaverOutput*>(data)->preferredScale = scale;
}
const wp_fractional_scale_v1_listener FractionalScaleListener = {.preferred_scale =
                                                                     OnPreferredScale};

void OnFirstCommitAnswered(void* data, wl_callback* callback, uint32_t) {
  wl_callback_destroy(callback);
  static_cast<SaverOutput*>(data)->firstCommitSync = nullptr;
}
const wl_callback_listener FirstCommitListener = {.done = OnFirstCommitAnswered};

void OnGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                const char*, const char*, int32_t) {
  // The place in the layout when no xdg-output says better.
  auto& o = *static_cast<SaverOutput*>(data);
  if (o.xdgOutput == nullptr) {
    o.layoutX = x;
    o.layoutY = y;
  }
}
void OnMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void OnScale(void* data, wl_output*, int32_t factor) {
  static_cast<SaverOutput*>(data)->pendingScale = std::max(factor, 1);
}
void OnDone(void* data, wl_output*) {
  auto& o = *static_cast<SaverOutput*>(data);
  o.scale = o.pendingScale;
  o.coverWanted = true;
}
void OnOutputName(void* data, wl_output*, const char* name) {
  static_cast<SaverOutput*>(data)->name = name;
}
void OnOutputDescription(void*, wl_output*, const char*) {}
const wl_output_listener OutputListener = {.geometry = OnGeometry,
                                           .mode = OnMode,
                                           .done = OnDone,
                                           .scale = OnScale,
                                           .name = OnOutputName,
                                           .description = OnOutputDescription};

void OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
  auto& o = *static_cast<SaverOutput*>(data);
  o.layoutX = x;
  o.layoutY = y;
}
void OnLogicalSize(void*, zxdg_output_v1*, int32_t, int32_t) {}
// A name told by xdg-output alone may be the one a lock host asked for.
void OnXdgDone(void* data, zxdg_output_v1*) { static_cast<SaverOutput*>(data)->coverWanted = true; }
void OnName(void* data, zxdg_output_v1*, const char* name) {
  static_cast<SaverOutput*>(data)->name = name;
}
void OnDescription(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener XdgOutputListener = {.logical_position = OnLogicalPosition,
                                                   .logical_size = OnLogicalSize,
                                                   .done = OnXdgDone,
                                                   .name = OnName,
                                                   .description = OnDescription};

// A saver's layer surface: on the overlay layer with the keyboard, or for a
// lock host on the background layer without it; stretched over the output.
void MakeLayerSurface(SaverOutput& o) {
  const bool background = o.saver->role == SaverRole::Background;
  o.layer = zwlr_layer_shell_v1_get_layer_surface(
      o.saver->layerShell, o.surface, o.output,
      background ? ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "rimeglass");
  // Size 0x0 with all four anchors: exactly the output, whatever its size.
  zwlr_layer_surface_v1_set_size(o.layer, 0, 0);
  zwlr_layer_surface_v1_set_anchor(
      o.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                   ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
  // Over panels too, not beside their reserved space.
  zwlr_layer_surface_v1_set_exclusive_zone(o.layer, -1);
  zwlr_layer_surface_v1_set_keyboard_interactivity(
      o.layer, background ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE
                          : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  zwlr_layer_surface_v1_add_listener(o.layer, &LayerListener, &o);
}

// Its surface in its role, at the compositor's preferred scale where it
// tells one.
void CoverOutput(SaverOutput& o) {
  WaylandSaver& saver = *o.saver;
  o.surface = wl_compositor_create_surface(saver.compositor);
  const bool lock = saver.role == SaverRole::Lock;
  if (lock) MakeLockSurface(o);
  else MakeLayerSurface(o);
  // Where the compositor offers both, buffers are drawn at its preferred
  // scale, fractional too, and shown at the logical size: never resampled.
  if (saver.fractionalScaleManager != nullptr && saver.viewporter != nullptr) {
    o.fractionalScale =
        wp_fractional_scale_manager_v1_get_fractional_scale(saver.fractionalScaleManager, o.surface);
    wp_fractional_scale_v1_add_listener(o.fractionalScale, &FractionalScaleListener, &o);
    o.viewport = wp_viewporter_get_viewport(saver.viewporter, o.surface);
  }
  // A layer surface's first commit, without a buffer, asks for its configure;
  // a lock surface is configured at once, and may never be committed empty.
  if (!lock) wl_surface_commit(o.surface);
  if (o.viewport != nullptr) {
    o.firstCommitSync = wl_display_sync(saver.display);
    wl_callback_add_listener(o.firstCommitSync, &FirstCommitListener, &o);
  }
}

// Covered by this instance: every output, or a lock host's one; a lock's
// outputs only while it holds the lock.
bool CoversOutput(const SaverOutput& o) {
  const WaylandSaver& saver = *o.saver;
  if (saver.role == SaverRole::Lock) return saver.lock.lock != nullptr && !saver.lock.finished;
  return saver.onlyOutput.empty() || o.name == saver.onlyOutput;
}

// Makes the output's surface current with the one context. The context is
// shared, so an output that takes it over puts back its scene's viewport and
// projection.
bool MakeCurrent(SaverOutput& o) {
  WaylandSaver& saver = *o.saver;
  if (!eglMakeCurrent(saver.egl, o.eglSurface, o.eglSurface, saver.context)) return false;
  if (o.scene != nullptr && saver.sceneInContext != o.scene.get()) ResumeScene(*o.scene);
  saver.sceneInContext = o.scene.get();
  return true;
}

// A scene's life on an output: started with its EGL window at the first
// buffer size, reshaped with it at each new one, ended with it.
bool StartDrawing(SaverOutput& o, int32_t width, int32_t height) {
  WaylandSaver& saver = *o.saver;
  o.window = wl_egl_window_create(o.surface, width, height);
  const bool failForced = !saver.failEglOutput.empty() && o.name == saver.failEglOutput;
  o.eglSurface = failForced ? EGL_NO_SURFACE
                            : eglCreatePlatformWindowSurface(saver.egl, saver.config, o.window, nullptr);
  if (o.window == nullptr || o.eglSurface == EGL_NO_SURFACE || !MakeCurrent(o)) return false;
  // The compositor's frame callbacks pace the saver, never a blocking swap.
  eglSwapInterval(saver.egl, 0);
  const SaverOptions& options = *saver.options;
  // Every output its own crystal; a given seed still fixes all of them.
  const uint32_t seed = (options.seedGiven ? options.seed : ClockSeed()) + saver.scenesMade++;
  o.scene = StartScene(width, height, seed, IsPreviewSize(width, height));
  saver.sceneInContext = o.scene.get();
  return true;
}

void ReshapeDrawing(SaverOutput& o, int32_t width, int32_t height) {
  wl_egl_window_resize(o.window, width, height, 0, 0);
  if (MakeCurrent(o)) ReshapeScene(*o.scene, width, height);
}

void StopDrawing(SaverOutput& o) {
  WaylandSaver& saver = *o.saver;
  if (saver.sceneInContext == o.scene.get()) saver.sceneInContext = nullptr;
  o.scene.reset();
  if (o.eglSurface != EGL_NO_SURFACE) {
    eglMakeCurrent(saver.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroySurface(saver.egl, o.eglSurface);
  }
  o.eglSurface = EGL_NO_SURFACE;
  if (o.window != nullptr) wl_egl_window_destroy(o.window);
  o.window = nullptr;
}

// Before their surface goes.
void ReleaseScaling(SaverOutput& o) {
  DestroyProxy(o.firstCommitSync, wl_callback_destroy);
  DestroyProxy(o.fractionalScale, wp_fractional_scale_v1_destroy);
  DestroyProxy(o.viewport, wp_viewport_destroy);
  o.preferredScale = 0;
  o.viewportWidth = o.viewportHeight = 0;
}

// An output that cannot have OpenGL is still covered, in black, as the
// Windows saver covers such a monitor; the others draw on. At each new size
// a new buffer.
void CoverInBlack(SaverOutput& o, int32_t width, int32_t height) {
  if (o.blackBuffer == nullptr) {
    std::fprintf(stderr,
                 "rimeglass: no OpenGL surface for output %s (%dx%d, EGL error 0x%x): "
                 "covered in black\n",
                 o.name.empty() ? "without a name" : o.name.c_str(), width, height, eglGetError());
    StopDrawing(o);
  }
  // The old buffer goes only once the new one has taken its place.
  wl_buffer* old = o.blackBuffer;
  o.blackBuffer = MakeBlackBuffer(o.saver->shm, width, height);
  if (o.blackBuffer != nullptr) {
    wl_surface_attach(o.surface, o.blackBuffer, 0, 0);
    wl_surface_damage(o.surface, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(o.surface);
    o.frameDue = false;
  }
  if (old != nullptr) wl_buffer_destroy(old);
}

// Ends the surface side of an output: the scene and what EGL made first,
// then the protocol objects. The wl_output itself stays.
void ReleaseSurface(SaverOutput& o) {
  StopDrawing(o);
  DestroyProxy(o.blackBuffer, wl_buffer_destroy);
  DestroyProxy(o.frameCallback, wl_callback_destroy);
  DestroyProxy(o.layer, zwlr_layer_surface_v1_destroy);
  DestroyProxy(o.lockSurface, ext_session_lock_surface_v1_destroy);
  if (o.saver->pointerOutput == &o) o.saver->pointerOutput = nullptr;
  ReleaseScaling(o);
  DestroyProxy(o.surface, wl_surface_destroy);
  o.logicalWidth = o.logicalHeight = o.bufferWidth = o.bufferHeight = 0;
  o.bufferScale = 1;
  o.configureUnanswered = o.closed = o.frameDue = false;
}

void ReleaseOutput(SaverOutput& o) {
  ReleaseSurface(o);
  if (o.xdgOutput != nullptr) zxdg_output_v1_destroy(o.xdgOutput);
  ReleaseProxy(o.output, WL_OUTPUT_RELEASE_SINCE_VERSION, wl_output_release);
}

void AnswerConfigure(SaverOutput& o) {
  if (o.lockSurface != nullptr) AckLockConfigure(o);
  else zwlr_layer_surface_v1_ack_configure(o.layer, o.configureSerial);
  o.configureUnanswered = false;
  // Nothing behind the saver needs drawing.
  wl_region* opaque = wl_compositor_create_region(o.saver->compositor);
  wl_region_add(opaque, 0, 0, o.logicalWidth, o.logicalHeight);
  wl_surface_set_opaque_region(o.surface, opaque);
  wl_region_destroy(opaque);
  // A configure wants a commit even when the size stayed.
  if (o.frameCallback == nullptr) o.frameDue = true;
}

// A logical length at a scale in 120ths, rounded half away from zero as the
// fractional scale protocol has it.
int32_t ScaledLength(int32_t logical, uint32_t scale) {
  return static_cast<int32_t>((int64_t{logical} * scale + 60) / 120);
}

// The buffer in the output's own pixels: logical size (none before the first
// configure) times scale. Surface state set here is double-buffered: applied
// with the next buffer, at the next swap. False while there is no size yet.
bool ScaleBuffer(SaverOutput& o, int32_t& width, int32_t& height) {
  if (o.viewport == nullptr) {
    width = o.logicalWidth * o.scale;
    height = o.logicalHeight * o.scale;
    if (width <= 0 || height <= 0) return false;
    if (o.scale != o.bufferScale &&
        o.saver->compositorVersion >= WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION) {
      wl_surface_set_buffer_scale(o.surface, o.scale);
    }
    o.bufferScale = o.scale;
    return true;
  }
  // The buffer scale stays 1; the viewport shows the buffer at the logical
  // size. Until the compositor has answered the first commit, the preferred
  // scale may still come with it: a buffer made before would be made again.
  // A compositor that tells none has the output's integer scale.
  if (o.preferredScale == 0 && o.firstCommitSync != nullptr) return false;
  const uint32_t scale = o.preferredScale != 0 ? o.preferredScale : 120u * o.scale;
  width = ScaledLength(o.logicalWidth, scale);
  height = ScaledLength(o.logicalHeight, scale);
  if (width <= 0 || height <= 0) return false;
  if (o.logicalWidth != o.viewportWidth || o.logicalHeight != o.viewportHeight) {
    wp_viewport_set_destination(o.viewport, o.logicalWidth, o.logicalHeight);
    o.viewportWidth = o.logicalWidth;
    o.viewportHeight = o.logicalHeight;
  }
  return true;
}

void ApplyBufferSize(SaverOutput& o) {
  int32_t width = 0;
  int32_t height = 0;
  if (!ScaleBuffer(o, width, height)) return;
  if (width == o.bufferWidth && height == o.bufferHeight) return;
  o.bufferWidth = width;
  o.bufferHeight = height;
  if (o.scene != nullptr) {
    ReshapeDrawing(o, width, height);
  } else if (o.blackBuffer != nullptr || !StartDrawing(o, width, height)) {
    CoverInBlack(o, width, height);
    if (o.blackBuffer == nullptr) ReleaseSurface(o);
  }
}

}  // namespace

bool OpenEgl(WaylandSaver& saver, std::string& error) {
  saver.egl = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, saver.display, nullptr);
  if (saver.egl == EGL_NO_DISPLAY || !eglInitialize(saver.egl, nullptr, nullptr)) {
    saver.egl = EGL_NO_DISPLAY;
    error = "EGL does not work on this Wayland display";
    return false;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error = "EGL here has no desktop OpenGL";
    return false;
  }
  const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                           EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_NONE};
  EGLConfig configs[64];
  EGLint count = 0;
  eglChooseConfig(saver.egl, wanted, configs, 64, &count);
  // The list puts deeper configs first; the first one without alpha wins.
  for (EGLint k = 0; k < count; ++k) {
    EGLint alpha = -1;
    eglGetConfigAttrib(saver.egl, configs[k], EGL_ALPHA_SIZE, &alpha);
    if (alpha == 0) {
      saver.config = configs[k];
      break;
    }
  }
  if (saver.config == nullptr) {
    error = "EGL offers no OpenGL window config without alpha";
    return false;
  }
  saver.context = eglCreateContext(saver.egl, saver.config, EGL_NO_CONTEXT, nullptr);
  if (saver.context == EGL_NO_CONTEXT) {
    error = "EGL cannot make an OpenGL context";
    return false;
  }
  return true;
}

void CloseEgl(WaylandSaver& saver) {
  if (saver.egl == EGL_NO_DISPLAY) return;
  eglMakeCurrent(saver.egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (saver.context != EGL_NO_CONTEXT) eglDestroyContext(saver.egl, saver.context);
  saver.context = EGL_NO_CONTEXT;
  eglTerminate(saver.egl);
  eglReleaseThread();
  saver.egl = EGL_NO_DISPLAY;
}

void AddOutput(WaylandSaver& saver, uint32_t globalName, uint32_t version) {
  auto o = std::make_unique<SaverOutput>();
  o->saver = &saver;
  o->globalName = globalName;
  // Version 2 brings scale and done; 3 lets the object go cleanly; 4 names it.
  o->output = static_cast<wl_output*>(
      wl_registry_bind(saver.registry, globalName, &wl_output_interface, std::min(version, 4u)));
  wl_output_add_listener(o->output, &OutputListener, o.get());
  // Without done events nothing more about it will come.
  o->coverWanted = version < WL_OUTPUT_DONE_SINCE_VERSION;
  saver.outputs.push_back(std::move(o));
  LearnLayoutPlaces(saver);
}

void LearnLayoutPlaces(WaylandSaver& saver) {
  if (saver.xdgOutputManager == nullptr) return;
  for (auto& o : saver.outputs) {
    if (o->xdgOutput != nullptr) continue;
    o->xdgOutput = zxdg_output_manager_v1_get_xdg_output(saver.xdgOutputManager, o->output);
    zxdg_output_v1_add_listener(o->xdgOutput, &XdgOutputListener, o.get());
  }
}

void ReleaseAllOutputs(WaylandSaver& saver) {
  for (auto& o : saver.outputs) ReleaseOutput(*o);
  saver.outputs.clear();
}

void UpdateOutputs(WaylandSaver& saver) {
  for (auto& o : saver.outputs) {
    if (o->removed) ReleaseOutput(*o);
  }
  std::erase_if(saver.outputs, [](const auto& o) { return o->removed; });
  for (auto& output : saver.outputs) {
    SaverOutput& o = *output;
    if (o.closed) ReleaseSurface(o);
    if (o.coverWanted && o.surface == nullptr && CoversOutput(o)) CoverOutput(o);
    o.coverWanted = false;
    if (o.configureUnanswered) AnswerConfigure(o);
    ApplyBufferSize(o);
    // A black output has no frames to draw: a configure that kept its size
    // wants only a commit.
    if (o.blackBuffer != nullptr && o.frameDue) {
      wl_surface_commit(o.surface);
      o.frameDue = false;
    }
  }
}

void DrawDueOutputs(WaylandSaver& saver, bool tick) {
  for (auto& output : saver.outputs) {
    SaverOutput& o = *output;
    if (tick) o.tickUnused = true;
    if (!o.tickUnused || !o.frameDue || o.scene == nullptr || !MakeCurrent(o)) continue;
    o.tickUnused = false;
    o.frameCallback = wl_surface_frame(o.surface);
    wl_callback_add_listener(o.frameCallback, &FrameListener, &o);
    o.frameDue = false;
    DrawFrame(*o.scene);
    if (saver.role == SaverRole::Lock) DrawLockPrompt(o);
    eglSwapBuffers(saver.egl, o.eglSurface);
  }
}

bool FrameWaitsForTick(const WaylandSaver& saver) {
  return std::any_of(saver.outputs.begin(), saver.outputs.end(),
                     [](const auto& o) { return o->frameDue && o->scene != nullptr; });
}
