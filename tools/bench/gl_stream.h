#pragma once
#include <cstddef>

// Records the per-vertex calls of the drawing loops (the same four members as
// ImmediateGL) so a frame's exact GL stream can be replayed without the
// program's own work. Fixed storage: nothing is allocated while measuring.
struct RecordedStream {
  static constexpr size_t Capacity = 2 * 100 * 640 * 21;  // the largest mesh
  float values[Capacity];
  size_t used = 0;

  void Normal(const float n[3]) { Put(n, 3); }
  void Colour3(const float c[3]) { Put(c, 3); }
  void Colour4(const float c[4]) { Put(c, 4); }
  void Vertex(const float v[3]) { Put(v, 3); }

 private:
  void Put(const float* data, size_t count) {
    if (used + count > Capacity) return;
    for (size_t k = 0; k < count; ++k) values[used + k] = data[k];
    used += count;
  }
};

// The calls a recorded stream stands for: one normal, then colour and
// position for each of three corners, triangle after triangle.
void ReplayTriangles(const RecordedStream& stream, int coloursPerVertex);
