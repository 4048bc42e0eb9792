// The ostrel-register command line: what a person or a setup script asked for.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ostrel::registercli {

enum class CommandKind { Register, Ensure, Unregister, Status, Check, Repair };

// "register", "ensure", ... as typed on the command line.
const char* commandName(CommandKind kind) noexcept;

// Text arguments are UTF-8, exactly as the platform layer delivered them.
struct CommandLine {
  CommandKind command = CommandKind::Check;
  std::string appKey;
  std::optional<std::string> manifestPath;  // always set except for status
  std::string loaderPath;                   // empty: the session's default search
  bool force = false;
  bool dryRun = false;  // repair only
  bool json = false;    // status, check, repair: one JSON object on standard output
};

enum class ParseKind {
  Run,         // `commandLine` holds what to do
  Help,        // print `text` to standard output, exit 0
  Version,     // print `text` to standard output, exit 0
  UsageError,  // print `text` to standard error, exit 64
};

struct ParseResult {
  ParseKind kind = ParseKind::UsageError;
  CommandLine commandLine;
  std::string text;
};

// `arguments[0]` is the program's name, as in argv. Never throws: the
// parser's own exceptions are turned into a UsageError with its message and
// a pointer to --help.
ParseResult parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace ostrel::registercli
