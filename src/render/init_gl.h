#pragma once

struct ViewportSizeData;

// Viewport, projection, fixed state, lights, material and light model for the
// current context, from the viewport size. Once per context, and again when
// the viewport changes size.
void InitGL(const ViewportSizeData& size);
