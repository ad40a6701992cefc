#include "bench/gl_stream.h"

#include "common/gl.h"

void ReplayTriangles(const RecordedStream& stream, int coloursPerVertex) {
  const float* p = stream.values;
  const float* end = stream.values + stream.used;
  while (p < end) {
    glNormal3fv(p);
    p += 3;
    for (int corner = 0; corner < 3; ++corner) {
      if (coloursPerVertex == 4) glColor4fv(p);
      else glColor3fv(p);
      p += coloursPerVertex;
      glVertex3fv(p);
      p += 3;
    }
  }
}
