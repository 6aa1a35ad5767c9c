// What Quarrow is asked to do by its command line: start (no arguments), or
// hand a search, a show or an exit to the bar that runs on the same settings
// file, starting one where none runs. "Quarrow --search 天气" in the Run box
// searches as if 天气 had been typed into the bar and Entered.
#pragma once

#include <string>
#include <string_view>

enum class BarCommand {
  Start,    // no arguments
  Search,   // --search TEXT
  Show,     // --show, or --search without a text
  Exit,     // --exit
  Help,     // --help, -h, /?
  Unknown,  // anything else
};

struct CommandLine {
  BarCommand command = BarCommand::Start;
  std::string text;  // Search: what to search; Unknown: the arguments as given
};

// What follows the program's own name in a whole command line (as
// GetCommandLine gives it), without the blanks between. The name ends at the
// first blank, or is quoted and ends at its closing quote.
std::string_view ArgumentsOf(std::string_view commandLine);

// Options are compared ignoring letter case. The search text is the rest of
// the arguments after "--search": blanks around it removed, then one pair of
// double quotes around the whole, so that quoting is optional.
CommandLine ParseArguments(std::string_view arguments);

// The exit code of a start for `command` that ended without running a bar:
// 2 for a command line that was not understood, as command-line tools do.
int ExitCodeOf(BarCommand command);
