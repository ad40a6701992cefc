// TEMPORARY: runs the Wayland saver until the shared Linux main lands.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "wayland/contract_shim.h"
#include "wayland/wayland_saver.h"

int main(int argc, char** argv) {
  BlockStopSignals();
  std::vector<const char*> args;
  for (int k = 0; k < argc; ++k)
    if (std::strcmp(argv[k], "--wayland") != 0) args.push_back(argv[k]);
  SaverOptions options;
  std::string error;
  if (!ParseSaverOptions(static_cast<int>(args.size()), args.data(), nullptr, options, error)) {
    std::fprintf(stderr, "rimeglass: %s\n", error.c_str());
    return 1;
  }
  return RunWaylandSaver(options);
}
