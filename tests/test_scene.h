#pragma once
#include <memory>

#include "render/scene.h"

// The scene a test program works on unless a test makes its own: one for the
// program, as a saver has one per screen.
inline const std::unique_ptr<Scene> OwnedScene = MakeScene();
inline Scene& scene = *OwnedScene;
