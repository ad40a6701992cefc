#include "app/command_line.h"

namespace {

bool IsSeparator(char c) { return c >= 1 && c <= 32; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// At most eight hex digits and nothing after them; the value is the 32 bits
// as written, so FFFFFFFF reads as -1 like any 32-bit handle would.
bool ParseHex(std::string_view digits, int32_t& value) {
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t bits = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return false;
    bits = bits * 16 + static_cast<uint32_t>(digit);
  }
  value = static_cast<int32_t>(bits);
  return true;
}

bool ParseDecimal(std::string_view text, int32_t& value) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  // Accumulate the magnitude in 64 bits; nine digits past 2^31 still fit.
  int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT32_MAX || signedValue < INT32_MIN) return false;
  value = static_cast<int32_t>(signedValue);
  return true;
}

}  // namespace

std::string CommandLineArgument(std::string_view commandLine, int index) {
  size_t at = 0;
  for (int current = 0;; ++current) {
    while (at < commandLine.size() && IsSeparator(commandLine[at])) ++at;
    if (at >= commandLine.size() || commandLine[at] == '\0') return {};
    std::string argument;
    bool quoted = false;
    for (; at < commandLine.size() && commandLine[at] != '\0'; ++at) {
      const char c = commandLine[at];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && IsSeparator(c)) {
        break;
      } else {
        argument += c;
      }
    }
    if (current == index) return argument;
  }
}

RunMode SelectRunMode(std::string_view argument1) {
  if (argument1.size() < 2) return ModeFullScreen;
  char mode = argument1[1];
  if (mode >= 'a' && mode <= 'z') mode = static_cast<char>(mode - 'a' + 'A');
  switch (mode) {
    case 'P': return ModePreview;
    case 'A': return ModeChangePassword;
    case 'C': return ModeConfigure;
    default: return ModeFullScreen;
  }
}

int32_t ParseWindowHandle(std::string_view text) {
  while (!text.empty() && text[0] == ' ') text.remove_prefix(1);
  int32_t value = 0;
  bool parsed = false;
  // "0x" only: the runtime's syntax has no "0X", so that reads as a bad decimal.
  if (text.starts_with("0x")) {
    parsed = ParseHex(text.substr(2), value);
  } else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    parsed = ParseHex(text.substr(1), value);
  } else {
    parsed = ParseDecimal(text, value);
  }
  return parsed ? value : 0;
}
