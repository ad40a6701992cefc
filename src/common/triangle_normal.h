#pragma once

// Unnormalised face normal (b - a) x (c - a); the GL normalises it. The edges
// are taken in single precision, the cross product in double, rounded once.
void TriangleNormal(const float a[3], const float b[3], const float c[3], float n[3]);
