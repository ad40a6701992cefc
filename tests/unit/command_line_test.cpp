#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineArgument, SplitsAtBlanksAndControlCharacters) {
  const char* line = "C:\\SAVERS\\RIMEGL~1.SCR   /p\t\t1234\x01tail";
  EXPECT_EQ(CommandLineArgument(line, 0), "C:\\SAVERS\\RIMEGL~1.SCR");
  EXPECT_EQ(CommandLineArgument(line, 1), "/p");
  EXPECT_EQ(CommandLineArgument(line, 2), "1234");
  EXPECT_EQ(CommandLineArgument(line, 3), "tail");
  EXPECT_EQ(CommandLineArgument(line, 4), "");
}

TEST(CommandLineArgument, QuotesKeepBlanksInsideAndAreDropped) {
  const char* line = "\"C:\\Program Files\\Rimeglass.scr\" /a \"12\"34 x\" y\"z";
  EXPECT_EQ(CommandLineArgument(line, 0), "C:\\Program Files\\Rimeglass.scr");
  EXPECT_EQ(CommandLineArgument(line, 1), "/a");
  EXPECT_EQ(CommandLineArgument(line, 2), "1234");
  EXPECT_EQ(CommandLineArgument(line, 3), "x yz");
}

TEST(CommandLineArgument, MissingArgumentsAreEmpty) {
  EXPECT_EQ(CommandLineArgument("", 0), "");
  EXPECT_EQ(CommandLineArgument("Rimeglass.scr", 1), "");
  EXPECT_EQ(CommandLineArgument("Rimeglass.scr   ", 1), "");
  EXPECT_EQ(CommandLineArgument("Rimeglass.scr /s", 2), "");
}

TEST(SelectRunMode, SecondCharacterUpperCasedPicksTheMode) {
  for (const char* argument : {"/p", "/P", "-p", "xp", "/p:99"}) {
    EXPECT_EQ(SelectRunMode(argument), ModePreview) << argument;
  }
  for (const char* argument : {"/a", "/A", "-a"}) {
    EXPECT_EQ(SelectRunMode(argument), ModeChangePassword) << argument;
  }
  for (const char* argument : {"/c", "/C", "/c:1234", "cc"}) {
    EXPECT_EQ(SelectRunMode(argument), ModeConfigure) << argument;
  }
}

TEST(SelectRunMode, EverythingElseIsFullScreen) {
  for (const char* argument : {"", "s", "p", "c", "/s", "/S", "-s", "xs", "/x", "/", "p/", "/\xe1"}) {
    EXPECT_EQ(SelectRunMode(argument), ModeFullScreen) << argument;
  }
}

TEST(ParseWindowHandle, WholeDecimalNumbers) {
  EXPECT_EQ(ParseWindowHandle("1234"), 1234);
  EXPECT_EQ(ParseWindowHandle("  1234"), 1234);
  EXPECT_EQ(ParseWindowHandle("+17"), 17);
  EXPECT_EQ(ParseWindowHandle("-5"), -5);
  EXPECT_EQ(ParseWindowHandle("0"), 0);
  EXPECT_EQ(ParseWindowHandle("2147483647"), 2147483647);
  EXPECT_EQ(ParseWindowHandle("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseWindowHandle("000000000000123"), 123);
}

TEST(ParseWindowHandle, AnythingButAWholeNumberIsZero) {
  for (const char* text : {"", " ", "1234 ", "12a", "a12", "+", "-", "1 2", "0x", "$", "x",
                           "2147483648", "-2147483649", "99999999999999999999", "+$10", "-0x10",
                           "$123456789", "1e3", "\t12", "0X1F"}) {
    EXPECT_EQ(ParseWindowHandle(text), 0) << '"' << text << '"';
  }
}

TEST(ParseWindowHandle, HexadecimalAfterItsPrefixes) {
  EXPECT_EQ(ParseWindowHandle("$1F"), 31);
  EXPECT_EQ(ParseWindowHandle("x1f"), 31);
  EXPECT_EQ(ParseWindowHandle("X1F"), 31);
  EXPECT_EQ(ParseWindowHandle("0x1F"), 31);
  EXPECT_EQ(ParseWindowHandle(" $00010A2C"), 0x10A2C);
  // Eight digits are the 32 bits of the handle as written.
  EXPECT_EQ(ParseWindowHandle("$7FFFFFFF"), 2147483647);
  EXPECT_EQ(ParseWindowHandle("$FFFFFFFF"), -1);
}

}  // namespace
