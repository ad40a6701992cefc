#include "background/background_phases.h"

#include "common/random.h"
#include "common/store.h"

namespace {

constexpr double TwoPi = 6.28318530717958647692;

float DrawPhase(RandomGenerator& random) { return Store(Random(random, 6800) / 1000.0); }
float DrawForwardSpeed(RandomGenerator& random) { return Store(Random(random, 100) / 100000.0 + 0.001); }
float DrawBackwardSpeed(RandomGenerator& random) { return Store(-0.001 - Random(random, 100) / 100000.0); }

// The phase is never clamped: it may overshoot an end by less than a step,
// and keeps drawing a speed back inwards each frame until it is inside again.
void AdvancePhase(RandomGenerator& random, float& phase, float& speed) {
  phase = Store(static_cast<double>(phase) + speed);
  if (phase >= TwoPi) speed = DrawBackwardSpeed(random);
  if (phase <= 0) speed = DrawForwardSpeed(random);
}

}  // namespace

void InitBackgroundPhases(BackgroundPhasesData& phases, RandomGenerator& random, bool preview) {
  phases.phaseA = DrawPhase(random);
  phases.phaseB = DrawPhase(random);
  phases.phaseC = DrawPhase(random);
  // The preview starts faster so a small window shows the drift at once.
  float* speeds[3] = {&phases.speedA, &phases.speedB, &phases.speedC};
  for (float* speed : speeds) {
    *speed = preview ? Store(Random(random, 100) / 10000.0 + 0.0001) : DrawForwardSpeed(random);
  }
}

void AdvanceBackgroundPhases(BackgroundPhasesData& phases, RandomGenerator& random) {
  AdvancePhase(random, phases.phaseA, phases.speedA);
  AdvancePhase(random, phases.phaseB, phases.speedB);
  AdvancePhase(random, phases.phaseC, phases.speedC);
}
