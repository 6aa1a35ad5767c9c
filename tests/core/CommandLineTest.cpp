#include <gtest/gtest.h>

#include "bar/CommandLine.h"

TEST(CommandLine, ArgumentsFollowTheProgramsName) {
  struct Case { const char* line; const char* arguments; } cases[] = {
      {"Quarrow.exe --search 天气", "--search 天气"},
      {"\"C:\\Program Files\\Quarrow.exe\" --show", "--show"},
      {"\"C:\\a b\\Quarrow.exe\"--exit", "--exit"},
      {"C:\\Quarrow.exe\t \t--help", "--help"},
      {"Quarrow.exe", ""},
      {"\"unclosed --show", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ArgumentsOf(c.line), c.arguments) << c.line;
}

TEST(CommandLine, OptionsAndTheSearchText) {
  struct Case { const char* arguments; BarCommand command; const char* text; } cases[] = {
      {"", BarCommand::Start, ""},
      {"  ", BarCommand::Start, ""},
      {"--search 天气", BarCommand::Search, "天气"},
      {"--SEARCH   g 天气 预报  ", BarCommand::Search, "g 天气 预报"},
      {"--search \"C++ & C# 100%\"", BarCommand::Search, "C++ & C# 100%"},  // quotes optional
      {"--search \"a\" b \"c\"", BarCommand::Search, "a\" b \"c"},           // one pair around the whole
      {"--search \"\"", BarCommand::Show, ""},                               // nothing to search: show the bar
      {"--search", BarCommand::Show, ""},
      {"--show", BarCommand::Show, ""},
      {"--Exit", BarCommand::Exit, ""},
      {"--help", BarCommand::Help, ""},
      {"/?", BarCommand::Help, ""},
      {"-h", BarCommand::Help, ""},
      {"--show now", BarCommand::Unknown, "--show now"},
      {"--searchx a", BarCommand::Unknown, "--searchx a"},
      {"天气", BarCommand::Unknown, "天气"},
      {"/search 天气", BarCommand::Unknown, "/search 天气"},
  };
  for (const auto& c : cases) {
    CommandLine parsed = ParseArguments(c.arguments);
    EXPECT_EQ(parsed.command, c.command) << c.arguments;
    EXPECT_EQ(parsed.text, c.text) << c.arguments;
  }
  EXPECT_EQ(ExitCodeOf(BarCommand::Unknown), 2);
  EXPECT_EQ(ExitCodeOf(BarCommand::Help), 0);
}
