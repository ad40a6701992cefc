#pragma once

// Viewport, projection, fixed state, lights, material and light model for the
// current context, from ViewportSize. Needs a current GL context.
void InitGL();
