#include "linux/saver_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the saver does with the options: one word per choice, or the error.
std::string Outcome(const std::vector<const char*>& args, const char* daemonWindow,
                    const char* waylandDisplay, const char* waylandSocket) {
  std::vector<const char*> argv{"rimeglass"};
  argv.insert(argv.end(), args.begin(), args.end());
  SaverOptions options;
  std::string error;
  if (!ParseSaverOptions(static_cast<int>(argv.size()), argv.data(), daemonWindow, options, error)) {
    return "error: " + error;
  }
  if (options.help) return "help";
  if (options.version) return "version";
  std::string outcome =
      ChooseDisplaySystem(options, waylandDisplay, waylandSocket) == DisplaySystem::Wayland ? "wayland"
                                                                                     : "x11";
  if (options.role == SaverRole::Lock) outcome += options.daemonize ? " lock daemonized" : " lock";
  if (options.role == SaverRole::Background) outcome += " background";
  if (options.source == WindowSource::Own) outcome += " own";
  if (options.source == WindowSource::Root) outcome += " root";
  if (options.source == WindowSource::Given) outcome += " window " + std::to_string(options.windowId);
  if (options.seedGiven) outcome += " seed " + std::to_string(options.seed);
  return outcome;
}

TEST(SaverOptions, CommandLineAndEnvironmentToChoices) {
  struct Case {
    std::vector<const char*> args;
    const char* daemonWindow;    // XSCREENSAVER_WINDOW
    const char* waylandDisplay;  // WAYLAND_DISPLAY
    const char* outcome;
    const char* waylandSocket = nullptr;  // WAYLAND_SOCKET
  };
  const Case cases[] = {
      {{}, nullptr, nullptr, "x11 own"},
      {{"--root"}, nullptr, nullptr, "x11 root"},
      {{"-root"}, "0x1a00007", nullptr, "x11 window 27262983"},
      {{"--window-id", "27262983"}, "0x10", nullptr, "x11 window 27262983"},
      {{"-window-id", "0xFFFFFFFF", "--seed", "4294967295"}, nullptr, nullptr,
       "x11 window 4294967295 seed 4294967295"},
      // Wayland only when no X11 window is asked for, or when forced.
      {{}, nullptr, "wayland-0", "wayland own"},
      {{}, "", "", "x11 own"},
      {{}, "0x1a00007", "wayland-0", "x11 window 27262983"},
      {{"--root"}, nullptr, "wayland-0", "x11 root"},
      {{"--x11"}, nullptr, "wayland-0", "x11 own"},
      {{"-wayland"}, "0xZZ", nullptr, "wayland own"},
      // A connection handed over means Wayland, even with DISPLAY's X there.
      {{"--background"}, nullptr, nullptr, "wayland background own", "5"},
      {{}, "", "wayland-0", "wayland own", ""},
      {{"--lock", "-f", "--seed", "3"}, "0x1a00007", "wayland-0", "wayland lock daemonized own seed 3"},
      {{"--lock"}, nullptr, nullptr, "x11 lock own"},
      {{"--lock", "--background"}, nullptr, nullptr, "error: --lock and --background exclude each other"},
      {{"--daemonize"}, nullptr, "wayland-0", "error: --daemonize goes with --lock"},
      {{"--background", "--root"}, nullptr, nullptr, "error: --root is for X11, not --background"},
      {{"--help", "--bogus"}, nullptr, nullptr, "help"},
      {{"-version"}, nullptr, nullptr, "version"},
      {{"--x11", "--wayland"}, nullptr, nullptr, "error: --x11 and --wayland exclude each other"},
      {{"--wayland", "--root"}, nullptr, nullptr, "error: --root is for X11, not --wayland"},
      {{"--window-id", "5", "--wayland"}, nullptr, nullptr,
       "error: --window-id is for X11, not --wayland"},
      {{"--window-id", "12abc"}, nullptr, nullptr, "error: not a window id: '12abc'"},
      {{"--window-id", "0x100000000"}, nullptr, nullptr, "error: not a window id: '0x100000000'"},
      {{"--window-id", "+5"}, nullptr, nullptr, "error: not a window id: '+5'"},
      {{"--seed", "-1"}, nullptr, nullptr, "error: not a seed (0..4294967295): '-1'"},
      {{"--seed", "4294967296"}, nullptr, nullptr, "error: not a seed (0..4294967295): '4294967296'"},
      {{"--seed"}, nullptr, nullptr, "error: --seed needs a value"},
      {{"--fullscreen"}, nullptr, nullptr, "error: unknown option '--fullscreen'"},
      {{}, "0xZZ", nullptr, "error: XSCREENSAVER_WINDOW is not a window id: '0xZZ'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Outcome(c.args, c.daemonWindow, c.waylandDisplay, c.waylandSocket), c.outcome)
        << "case " << &c - cases << " (counted from 0)";
  }
}

}  // namespace
