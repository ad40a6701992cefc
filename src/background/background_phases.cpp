#include "background/background_phases.h"

#include "common/random.h"
#include "common/store.h"

BackgroundPhasesData BackgroundPhases;

namespace {

constexpr double TwoPi = 6.28318530717958647692;

float DrawPhase() { return Store(Random(6800) / 1000.0); }
float DrawForwardSpeed() { return Store(Random(100) / 100000.0 + 0.001); }
float DrawBackwardSpeed() { return Store(-0.001 - Random(100) / 100000.0); }

// The phase is never clamped: it may overshoot an end by less than a step,
// and keeps drawing a speed back inwards each frame until it is inside again.
void AdvancePhase(float& phase, float& speed) {
  phase = Store(static_cast<double>(phase) + speed);
  if (phase >= TwoPi) speed = DrawBackwardSpeed();
  if (phase <= 0) speed = DrawForwardSpeed();
}

}  // namespace

void InitBackgroundPhases(bool preview) {
  BackgroundPhases.phaseA = DrawPhase();
  BackgroundPhases.phaseB = DrawPhase();
  BackgroundPhases.phaseC = DrawPhase();
  // The preview starts faster so a small window shows the drift at once.
  float* speeds[3] = {&BackgroundPhases.speedA, &BackgroundPhases.speedB, &BackgroundPhases.speedC};
  for (float* speed : speeds) {
    *speed = preview ? Store(Random(100) / 10000.0 + 0.0001) : DrawForwardSpeed();
  }
}

void AdvanceBackgroundPhases() {
  AdvancePhase(BackgroundPhases.phaseA, BackgroundPhases.speedA);
  AdvancePhase(BackgroundPhases.phaseB, BackgroundPhases.speedB);
  AdvancePhase(BackgroundPhases.phaseC, BackgroundPhases.speedC);
}
