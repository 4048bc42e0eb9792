// The ostrel-register command line: what a person or a setup script asked
// for. Parsing is the only step that sees the arguments; the commands get a
// CommandLine. Nothing here keeps state between calls.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ostrel/registration/RegistrationStatus.h"

namespace ostrel::registercli {

enum class CommandKind { Register, Ensure, Unregister, Status, Check, Repair, Doctor };

// "register", "ensure", ... as typed on the command line; "unknown" outside
// the enum. Static storage, never null.
const char* commandName(CommandKind kind) noexcept;

// Text arguments are UTF-8, exactly as the platform layer delivered them.
// As parsed: appKey is not empty, and manifestPath is set (possibly empty) for
// every command but status and doctor, which take no key.
struct CommandLine {
  CommandKind command = CommandKind::Check;
  std::string appKey;
  std::optional<std::string> manifestPath;  // always set except for status and doctor
  std::string loaderPath;                   // empty: the session's default search
  // Go ahead despite the manifest check's errors (register, ensure, repair;
  // unregister takes it and checks nothing).
  bool force = false;
  bool dryRun = false;      // repair; doctor with removeDead
  bool removeDead = false;  // doctor only
  bool json = false;        // status, check, repair, doctor: one JSON object on standard output
};

enum class ParseKind {
  Run,         // `commandLine` holds what to do
  Help,        // print `text` to standard output, exit 0
  Version,     // print `text` to standard output, exit 0
  UsageError,  // print `text` to standard error, exit 64
};

struct ParseResult {
  ParseKind kind = ParseKind::UsageError;
  CommandLine commandLine;  // meaningful for Run only
  std::string text;         // empty for Run; ends with a newline otherwise
};

// `arguments[0]` is the program's name, as in argv, and is not read; an empty
// list reads as no arguments. Returns Run with the command line; Help with
// the help of the command named (of the program when none is); Version with
// "ostrel-register <version>" (--version wins over a missing command, --help
// over --version); UsageError with "ostrel-register: <what is wrong>" and a
// pointer to --help for a missing or unknown command, an option the command
// lacks, a missing required option, an empty --key, or doctor's --dry-run
// without --remove-dead. Never throws
// (std::bad_alloc aside): the parser's own exceptions become a UsageError
// with its message.
ParseResult parseCommandLine(const std::vector<std::string>& arguments);

// What status and repair ask about: the key, the loader, and the manifest as
// the registrar is given it (registrarPathFor), when one was named.
registration::StatusQuery statusQueryFor(const CommandLine& commandLine);

}  // namespace ostrel::registercli
