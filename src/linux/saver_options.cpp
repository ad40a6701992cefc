#include "linux/saver_options.h"

#include <charconv>
#include <string_view>

const char* const SaverUsage =
    "usage: rimeglass [--x11 | --wayland] [--root | --window-id ID] [--seed N]\n"
    "       rimeglass --lock [--daemonize] [--seed N]\n"
    "       rimeglass --background [--seed N]\n"
    "       rimeglass --help | --version\n"
    "Draws the Rimeglass crystal into the window XScreenSaver or xsecurelock gives it\n"
    "(XSCREENSAVER_WINDOW), else into a window of its own; under a Wayland compositor\n"
    "(WAYLAND_DISPLAY), when no X11 window is asked for, over every output.\n"
    "  --x11, -x11              use the X display (DISPLAY) even under Wayland\n"
    "  --wayland, -wayland      use the Wayland compositor (WAYLAND_DISPLAY)\n"
    "  --root, -root            the daemon's window when XSCREENSAVER_WINDOW is set,\n"
    "                           else the root window\n"
    "  --window-id, -window-id ID\n"
    "                           draw into window ID (0x1a00007 or 27262983)\n"
    "  --seed N                 grow the scene from N (0..4294967295), not the clock\n"
    "  --lock                   Wayland: lock the session (ext-session-lock-v1), the\n"
    "                           crystal behind a password prompt; only the password\n"
    "                           (PAM service \"rimeglass\") unlocks it\n"
    "  --daemonize, -f          with --lock: return once the session is locked\n"
    "  --background             Wayland: the background of a lock host's outputs\n"
    "                           (or of SWAYLOCK_PLUGIN_OUTPUT_NAME's); input is the\n"
    "                           host's, SIGTERM ends it";

namespace {

bool ParseDigits(std::string_view text, int base, uint64_t max, uint64_t& value) {
  if (text.empty()) return false;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return status == std::errc() && end == text.data() + text.size() && value <= max;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// XScreenSaver's hacks take both "-option" and "--option".
bool IsOption(std::string_view argument, std::string_view name) {
  if (argument.starts_with("--")) argument.remove_prefix(2);
  else if (argument.starts_with("-")) argument.remove_prefix(1);
  else return false;
  return argument == name;
}

// "0x" and up to eight hex digits (XScreenSaver's way) or plain decimal
// (xsecurelock's), 1..0xFFFFFFFF, nothing before or after.
bool ParseWindowId(const char* text, unsigned long& id) {
  std::string_view digits = text;
  int base = 10;
  if (digits.starts_with("0x") || digits.starts_with("0X")) {
    digits.remove_prefix(2);
    base = 16;
    if (digits.size() > 8) return false;
  }
  // from_chars would take a sign or stop early; only digits may follow.
  for (char c : digits) {
    if (!(base == 16 ? IsHexDigit(c) : IsDigit(c))) return false;
  }
  uint64_t value = 0;
  if (!ParseDigits(digits, base, 0xFFFFFFFFu, value) || value == 0) return false;
  id = static_cast<unsigned long>(value);
  return true;
}

}  // namespace

bool ParseSaverOptions(int argc, const char* const argv[], const char* daemonWindow,
                       SaverOptions& options, std::string& error) {
  bool root = false;
  bool idGiven = false;
  bool x11 = false;
  bool wayland = false;
  for (int k = 1; k < argc; ++k) {
    const std::string_view argument = argv[k];
    if (IsOption(argument, "help") || argument == "-h") {
      options.help = true;
      return true;
    }
    if (IsOption(argument, "version")) {
      options.version = true;
      return true;
    }
    if (IsOption(argument, "root")) {
      root = true;
      continue;
    }
    if (IsOption(argument, "x11")) {
      x11 = true;
      continue;
    }
    if (IsOption(argument, "wayland")) {
      wayland = true;
      continue;
    }
    if (IsOption(argument, "lock") || IsOption(argument, "background")) {
      const SaverRole role = IsOption(argument, "lock") ? SaverRole::Lock : SaverRole::Background;
      if (options.role != SaverRole::Saver && options.role != role) {
        error = "--lock and --background exclude each other";
        return false;
      }
      options.role = role;
      continue;
    }
    if (IsOption(argument, "daemonize") || argument == "-f") {
      options.daemonize = true;
      continue;
    }
    const bool windowId = IsOption(argument, "window-id");
    const bool seed = IsOption(argument, "seed");
    if (!windowId && !seed) {
      error = "unknown option '" + std::string(argument) + "'";
      return false;
    }
    if (k + 1 >= argc) {
      error = std::string(argument) + " needs a value";
      return false;
    }
    const char* value = argv[++k];
    if (windowId) {
      if (!ParseWindowId(value, options.windowId)) {
        error = "not a window id: '" + std::string(value) + "'";
        return false;
      }
      idGiven = true;
    } else {
      uint64_t number = 0;
      if (!IsDigit(value[0]) || !ParseDigits(value, 10, 0xFFFFFFFFu, number)) {
        error = "not a seed (0..4294967295): '" + std::string(value) + "'";
        return false;
      }
      options.seed = static_cast<uint32_t>(number);
      options.seedGiven = true;
    }
  }
  if (x11 && wayland) {
    error = "--x11 and --wayland exclude each other";
    return false;
  }
  if (options.daemonize && options.role != SaverRole::Lock) {
    error = "--daemonize goes with --lock";
    return false;
  }
  if (wayland || options.role != SaverRole::Saver) {
    if (root || idGiven) {
      const char* with = wayland ? "--wayland" : options.role == SaverRole::Lock ? "--lock" : "--background";
      error = std::string(root ? "--root" : "--window-id") + " is for X11, not " + with;
      return false;
    }
    if (x11) options.display = DisplaySystem::X11;
    if (wayland) options.display = DisplaySystem::Wayland;
    return true;
  }
  if (x11) options.display = DisplaySystem::X11;
  if (idGiven) {
    options.source = WindowSource::Given;
  } else if (daemonWindow != nullptr && daemonWindow[0] != '\0') {
    if (!ParseWindowId(daemonWindow, options.windowId)) {
      error = "XSCREENSAVER_WINDOW is not a window id: '" + std::string(daemonWindow) + "'";
      return false;
    }
    options.source = WindowSource::Given;
  } else if (root) {
    options.source = WindowSource::Root;
  }
  return true;
}

DisplaySystem ChooseDisplaySystem(const SaverOptions& options, const char* waylandDisplay,
                                  const char* waylandSocket) {
  if (options.display != DisplaySystem::Auto) return options.display;
  const auto set = [](const char* value) { return value != nullptr && value[0] != '\0'; };
  const bool onWayland = set(waylandSocket) || set(waylandDisplay);
  return onWayland && options.source == WindowSource::Own ? DisplaySystem::Wayland
                                                          : DisplaySystem::X11;
}
