#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// What one run of the saver does, chosen once from the first argument.
enum RunMode { ModeFullScreen, ModePreview, ModeChangePassword, ModeConfigure };

// Argument `index` of a whole command line as Windows hands it over (index 0
// is the program's own path). Arguments are separated by runs of characters
// 1..32; a double-quoted stretch stays in its argument, without the quotes.
// A missing argument is the empty string.
std::string CommandLineArgument(std::string_view commandLine, int index);

// The mode named by the second character of argument 1, upper-cased; the
// first character ("/", "-" or anything) is ignored, and so is what follows.
RunMode SelectRunMode(std::string_view argument1);

// Argument 2 as a window handle: a whole signed 32-bit decimal number, or up
// to eight hex digits after "$", "x", "X" or "0x". Anything else gives 0.
int32_t ParseWindowHandle(std::string_view text);
