#include "render/scene.h"

std::unique_ptr<Scene> MakeScene() { return std::make_unique<Scene>(); }
