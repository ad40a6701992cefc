#include "lock/lock_prompt.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <numbers>

#include "common/gl.h"

namespace {

constexpr uint32_t Segments = 12;
constexpr int64_t WrongShownMs = 1500;
constexpr int ArcSteps = 96;  // of the whole ring

void SetState(LockPrompt& prompt, PromptState state, int64_t now) {
  prompt.state = state;
  prompt.since = now;
}

// A new segment for the highlight, never the one it is on.
void JumpMark(LockPrompt& prompt) {
  uint32_t& x = prompt.markState;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  prompt.mark = (prompt.mark + 1 + x % (Segments - 1)) % Segments;
}

// A band between two radii from angle `from` to `to` (radians, counter-
// clockwise from the top), in the current colour.
void Arc(double inner, double outer, double from, double to) {
  const int steps = std::max(2, static_cast<int>(std::ceil((to - from) / (2 * std::numbers::pi) * ArcSteps)));
  glBegin(GL_TRIANGLE_STRIP);
  for (int k = 0; k <= steps; ++k) {
    const double angle = from + (to - from) * k / steps + std::numbers::pi / 2;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    glVertex2d(inner * c, inner * s);
    glVertex2d(outer * c, outer * s);
  }
  glEnd();
}

}  // namespace

int64_t MonotonicMilliseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

bool PressPromptKey(LockPrompt& prompt, PromptKey key, const char* utf8, int64_t now) {
  if (prompt.state == PromptState::Checking) return false;
  switch (key) {
    case PromptKey::Text:
      // Past the cap the ring stays still: the key went nowhere.
      if (!AppendText(prompt.typed, utf8)) return false;
      prompt.erased = false;
      break;
    case PromptKey::Erase:
      if (prompt.typed.length == 0) return false;
      EraseLastCharacter(prompt.typed);
      prompt.erased = true;
      break;
    case PromptKey::Clear:
      Wipe(prompt.typed);
      SetState(prompt, PromptState::Idle, now);
      return false;
    case PromptKey::Submit:
      // An empty password is still a try: PAM decides, as it does for any.
      SetState(prompt, PromptState::Checking, now);
      return true;
  }
  JumpMark(prompt);
  SetState(prompt, prompt.typed.length > 0 ? PromptState::Typing : PromptState::Idle, now);
  return false;
}

void PromptRefused(LockPrompt& prompt, int64_t now) {
  Wipe(prompt.typed);
  SetState(prompt, PromptState::Wrong, now);
}

void AgePrompt(LockPrompt& prompt, int64_t now) {
  if (prompt.state == PromptState::Wrong && now - prompt.since >= WrongShownMs) {
    SetState(prompt, PromptState::Idle, now);
  }
}

void DrawPrompt(const LockPrompt& prompt, int width, int height, int64_t now) {
  if (prompt.state == PromptState::Idle || width <= 0 || height <= 0) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  // One unit is the shorter side's half, centred, whatever the aspect.
  const double aspect = static_cast<double>(width) / height;
  const double across = aspect >= 1 ? aspect : 1;
  const double up = aspect >= 1 ? 1 : 1 / aspect;
  glOrtho(-across, across, -up, up, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glViewport(0, 0, width, height);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  constexpr double Inner = 0.15;
  constexpr double Outer = 0.19;
  constexpr double Tau = 2 * std::numbers::pi;
  // A dark disc under the ring keeps it readable on the brightest crystal.
  glColor4d(0, 0, 0, 0.45);
  Arc(0, Outer + 0.01, 0, Tau);
  switch (prompt.state) {
    case PromptState::Typing: {
      glColor4d(0.85, 0.92, 1.0, 0.35);
      Arc(Inner, Outer, 0, Tau);
      const double from = Tau * prompt.mark / Segments;
      if (prompt.erased) glColor4d(1.0, 0.72, 0.3, 0.95);
      else glColor4d(0.7, 0.9, 1.0, 0.95);
      Arc(Inner - 0.01, Outer + 0.01, from, from + Tau / Segments);
      break;
    }
    case PromptState::Checking: {
      glColor4d(0.35, 0.55, 1.0, 0.5);
      Arc(Inner, Outer, 0, Tau);
      const double from = -Tau * static_cast<double>((now - prompt.since) % 1000) / 1000;
      glColor4d(0.55, 0.75, 1.0, 0.95);
      Arc(Inner - 0.01, Outer + 0.01, from, from + Tau / 4);
      break;
    }
    case PromptState::Wrong:
      glColor4d(0.95, 0.2, 0.2, 0.9);
      Arc(Inner - 0.01, Outer + 0.01, 0, Tau);
      break;
    case PromptState::Idle:
      break;
  }
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
