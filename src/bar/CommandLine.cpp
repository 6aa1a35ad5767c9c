#include "bar/CommandLine.h"

#include "base/Text.h"

namespace {

bool IsArgumentBlank(char c) { return c == ' ' || c == '\t'; }

// The option word at the start of `arguments` and what follows it.
std::string_view FirstWord(std::string_view arguments) {
  size_t end = 0;
  while (end < arguments.size() && !IsArgumentBlank(arguments[end])) ++end;
  return arguments.substr(0, end);
}

std::string_view Unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
  size_t end = 0;
  if (!commandLine.empty() && commandLine.front() == '"') {
    end = commandLine.find('"', 1);
    end = end == std::string_view::npos ? commandLine.size() : end + 1;
  } else {
    while (end < commandLine.size() && !IsArgumentBlank(commandLine[end])) ++end;
  }
  return TrimLeftIf(commandLine.substr(end), IsArgumentBlank);
}

CommandLine ParseArguments(std::string_view arguments) {
  arguments = Trim(arguments);
  if (arguments.empty()) return {};
  const std::string_view option = FirstWord(arguments);
  const std::string_view rest = Trim(arguments.substr(option.size()));
  if (EqualsIgnoreCase(option, "--search")) {
    const std::string_view text = Unquoted(rest);
    if (Trim(text).empty()) return {BarCommand::Show, {}};
    return {BarCommand::Search, std::string(text)};
  }
  if (rest.empty()) {
    if (EqualsIgnoreCase(option, "--show")) return {BarCommand::Show, {}};
    if (EqualsIgnoreCase(option, "--exit")) return {BarCommand::Exit, {}};
    for (std::string_view help : {"--help", "-h", "/?", "-?"}) {
      if (EqualsIgnoreCase(option, help)) return {BarCommand::Help, {}};
    }
  }
  return {BarCommand::Unknown, std::string(arguments)};
}

int ExitCodeOf(BarCommand command) { return command == BarCommand::Unknown ? 2 : 0; }
