#include "rimeglass/scene_json.h"

#include "background/background_grid.h"
#include "background/background_phases.h"
#include "crystal/crystal_model.h"
#include "crystal/draw_crystal.h"

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
void PrintGridField(std::FILE* out, const char* name, const GridField& field) {
  std::fprintf(out, ",\"%s\":[", name);
  for (int i = 0; i <= BackgroundGrid.rows; ++i) {
    if (i > 0) std::fputc(',', out);
    PrintFloatList(out, field[i], BackgroundGrid.cols + 1);
  }
  std::fputc(']', out);
}

}  // namespace

void PrintCrystalJson(std::FILE* out, const int shapeThousandths[3]) {
  std::fprintf(out, "{\"shape\":[%d,%d,%d],\"points\":[", shapeThousandths[0],
               shapeThousandths[1], shapeThousandths[2]);
  bool first = true;
  for (int i = 0; i <= LatticeSize; ++i) {
    for (int j = 0; j <= i; ++j) {
      std::fprintf(out, "%s{\"i\":%d,\"j\":%d,\"level\":", first ? "" : ",", i, j);
      PrintFloat(out, CrystalModel.level[0][i][j]);
      std::fputs(",\"alpha\":", out);
      PrintFloat(out, CrystalModel.alpha[0][i][j]);
      std::fputs(",\"zFront\":", out);
      PrintFloat(out, CrystalModel.zFront[0][i][j]);
      std::fputs(",\"zBack\":", out);
      PrintFloat(out, CrystalModel.zBack[0][i][j]);
      std::fputc('}', out);
      first = false;
    }
  }
  std::fputs("]}\n", out);
}

void PrintSceneJson(std::FILE* out) {
  const BackgroundPhasesData& p = BackgroundPhases;
  const float phases[6] = {p.phaseA, p.speedA, p.phaseB, p.speedB, p.phaseC, p.speedC};
  const float shape[3] = {CrystalShape.shapeP1, CrystalShape.shapeP2, CrystalShape.shapeP3};
  std::fprintf(out, "{\"rows\":%d,\"cols\":%d,\"phases\":", BackgroundGrid.rows,
               BackgroundGrid.cols);
  PrintFloatList(out, phases, 6);
  std::fputs(",\"shape\":", out);
  PrintFloatList(out, shape, 3);
  std::fputs(",\"angle\":", out);
  PrintFloat(out, CrystalAngle);
  std::fputs(",\"step\":", out);
  PrintFloat(out, CrystalAngleStep);
  PrintGridField(out, "x", BackgroundGrid.x);
  PrintGridField(out, "y", BackgroundGrid.y);
  PrintGridField(out, "depth", BackgroundGrid.depth);
  PrintGridField(out, "red", BackgroundGrid.red);
  PrintGridField(out, "green", BackgroundGrid.green);
  PrintGridField(out, "blue", BackgroundGrid.blue);
  std::fputs("}\n", out);
}
