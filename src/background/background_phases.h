#pragma once

struct RandomGenerator;

struct BackgroundPhasesData {
  float phaseA;
  float speedA;
  float phaseB;
  float speedB;
  float phaseC;
  float speedC;
};

void InitBackgroundPhases(BackgroundPhasesData& phases, RandomGenerator& random, bool preview);
// Moves each phase by its speed; a phase at or beyond an end of [0, 2pi]
// draws a new speed that turns it back.
void AdvanceBackgroundPhases(BackgroundPhasesData& phases, RandomGenerator& random);
