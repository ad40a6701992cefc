// Hostile command lines: whatever a launcher hands over, splitting, mode
// selection and the window handle keep to their rules and never misbehave.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsSeparator(char c) { return c >= 1 && c <= 32; }

// Without quotes, arguments are just the runs between separator runs (up to
// the first NUL, where a C string would end).
std::vector<std::string> SplitWithoutQuotes(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  std::vector<std::string> arguments;
  std::string current;
  for (char c : line) {
    if (IsSeparator(c)) {
      if (!current.empty()) arguments.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) arguments.push_back(current);
  return arguments;
}

void CheckSplitting(std::string_view line) {
  const bool hasQuote = line.find('"') != std::string_view::npos;
  const std::vector<std::string> expected = SplitWithoutQuotes(line);
  for (int index = 0; index < 6; ++index) {
    const std::string argument = CommandLineArgument(line, index);
    Require(argument.find('"') == std::string::npos);
    Require(argument.find('\0') == std::string::npos);
    Require(argument.size() <= line.size());
    if (!hasQuote) {
      Require(argument == (index < static_cast<int>(expected.size()) ? expected[index] : std::string()));
    }
  }
}

void CheckMode(std::string_view argument) {
  const RunMode mode = SelectRunMode(argument);
  const char c = argument.size() >= 2 ? argument[1] : '\0';
  const RunMode expected = (c == 'p' || c == 'P')   ? ModePreview
                           : (c == 'a' || c == 'A') ? ModeChangePassword
                           : (c == 'c' || c == 'C') ? ModeConfigure
                                                    : ModeFullScreen;
  Require(mode == expected);
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A non-zero handle must come from a text that is wholly a number whose
// value it is; a trailing blank always spoils the number.
void CheckHandle(std::string_view text) {
  const int32_t handle = ParseWindowHandle(text);
  std::string withBlank(text);
  withBlank += ' ';
  Require(ParseWindowHandle(withBlank) == 0);
  if (handle == 0) return;
  std::string_view rest = text;
  while (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
  Require(!rest.empty());
  std::string_view digits;
  bool hex = false;
  if (rest.starts_with("0x")) {
    digits = rest.substr(2);
    hex = true;
  } else if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X') {
    digits = rest.substr(1);
    hex = true;
  }
  if (hex) {
    Require(!digits.empty() && digits.size() <= 8);
    for (char c : digits) Require(IsHexDigit(c));
    Require(static_cast<uint32_t>(handle) == std::strtoul(std::string(digits).c_str(), nullptr, 16));
    return;
  }
  std::string_view magnitude = rest;
  if (magnitude[0] == '+' || magnitude[0] == '-') magnitude.remove_prefix(1);
  Require(!magnitude.empty());
  for (char c : magnitude) Require(c >= '0' && c <= '9');
  Require(static_cast<long long>(handle) == std::strtoll(std::string(rest).c_str(), nullptr, 10));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  CheckSplitting(line);
  CheckMode(CommandLineArgument(line, 1));
  CheckMode(line);
  CheckHandle(CommandLineArgument(line, 2));
  CheckHandle(line);
  return 0;
}
