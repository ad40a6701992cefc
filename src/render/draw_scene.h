#pragma once

// One frame's scene between the clear and the presentation.
void DrawScene();
// Exactly the state changes DrawScene makes, in its order, without GL: lets
// tools and tests step the animation with no context.
void AdvanceScene();
