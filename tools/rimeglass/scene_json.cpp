#include "rimeglass/scene_json.h"

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "crystal/crystal_model.h"
#include "crystal/draw_crystal.h"
#include "render/scene.h"

namespace {

void PrintFloat(std::FILE* out, float value) {
  std::fprintf(out, "%.9g", static_cast<double>(value));
}

void PrintFloatList(std::FILE* out, const float* values, int count) {
  std::fputc('[', out);
  for (int k = 0; k < count; ++k) {
    if (k > 0) std::fputc(',', out);
    PrintFloat(out, values[k]);
  }
  std::fputc(']', out);
}

// Rows 0..rows and columns 0..cols of one grid array, as a list of rows.
void PrintGridField(std::FILE* out, const BackgroundGridData& grid, const char* name, const GridField& field) {
  std::fprintf(out, ",\"%s\":[", name);
  for (int i = 0; i <= grid.rows; ++i) {
    if (i > 0) std::fputc(',', out);
    PrintFloatList(out, field[i], grid.cols + 1);
  }
  std::fputc(']', out);
}

}  // namespace

void PrintCrystalJson(std::FILE* out, const CrystalState& crystal, const int shapeThousandths[3]) {
  const CrystalModelData& model = crystal.model;
  std::fprintf(out, "{\"shape\":[%d,%d,%d],\"points\":[", shapeThousandths[0],
               shapeThousandths[1], shapeThousandths[2]);
  bool first = true;
  for (int i = 0; i <= crystal.latticeSize; ++i) {
    for (int j = 0; j <= i; ++j) {
      std::fprintf(out, "%s{\"i\":%d,\"j\":%d,\"level\":", first ? "" : ",", i, j);
      PrintFloat(out, model.level[0][i][j]);
      std::fputs(",\"alpha\":", out);
      PrintFloat(out, model.alpha[0][i][j]);
      std::fputs(",\"zFront\":", out);
      PrintFloat(out, model.zFront[0][i][j]);
      std::fputs(",\"zBack\":", out);
      PrintFloat(out, model.zBack[0][i][j]);
      std::fputc('}', out);
      first = false;
    }
  }
  std::fputs("]}\n", out);
}

void PrintSceneJson(std::FILE* out, const Scene& scene) {
  const BackgroundPhasesData& p = scene.background.phases;
  const BackgroundGridData& grid = scene.background.grid;
  const CrystalShapeData& crystal = scene.crystal.shape;
  const float phases[6] = {p.phaseA, p.speedA, p.phaseB, p.speedB, p.phaseC, p.speedC};
  const float shape[3] = {crystal.shapeP1, crystal.shapeP2, crystal.shapeP3};
  std::fprintf(out, "{\"rows\":%d,\"cols\":%d,\"phases\":", grid.rows,
               grid.cols);
  PrintFloatList(out, phases, 6);
  std::fputs(",\"shape\":", out);
  PrintFloatList(out, shape, 3);
  std::fputs(",\"angle\":", out);
  PrintFloat(out, scene.crystal.angle);
  std::fputs(",\"step\":", out);
  PrintFloat(out, scene.crystal.angleStep);
  PrintGridField(out, grid, "x", grid.x);
  PrintGridField(out, grid, "y", grid.y);
  PrintGridField(out, grid, "depth", grid.depth);
  PrintGridField(out, grid, "red", grid.red);
  PrintGridField(out, grid, "green", grid.green);
  PrintGridField(out, grid, "blue", grid.blue);
  std::fputs("}\n", out);
}
