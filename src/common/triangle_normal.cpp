#include "common/triangle_normal.h"

#include "common/store.h"

void TriangleNormal(const float a[3], const float b[3], const float c[3], float n[3]) {
  const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  const double ux = u[0], uy = u[1], uz = u[2];
  const double vx = v[0], vy = v[1], vz = v[2];
  n[0] = Store(uy * vz - uz * vy);
  n[1] = Store(uz * vx - ux * vz);
  n[2] = Store(ux * vy - uy * vx);
}
