#include "CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/RegistrarPath.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

namespace {

constexpr const char* kProgramName = "ostrel-register";

// The per-command options, bound to one CommandLine. CLI11 keeps pointers to
// the variables, so `target` must outlive the parse.
struct Binding {
  CLI::App* app = nullptr;
  CommandKind kind = CommandKind::Check;
};

void addKey(CLI::App& command, CommandLine& target) {
  command.add_option("--key", target.appKey, "application key, exactly as the manifest's app_key")
      ->required();
}

void addManifest(CLI::App& command, std::optional<std::string>& manifest, bool required) {
  CLI::Option* option = command.add_option(
      "--manifest", manifest,
      required ? "the .vrmanifest file to hand to the runtime"
               : "the .vrmanifest the registration should point at (to spot a stale one)");
  if (required) option->required();
}

void addLoader(CLI::App& command, CommandLine& target) {
  command.add_option("--openvr", target.loaderPath,
                     "the OpenVR loader library to use (default: beside this program, then the "
                     "system's library search)");
}

void addJson(CLI::App& command, CommandLine& target) {
  command.add_flag("--json", target.json,
                   "print one JSON object on standard output instead of the report");
}

}  // namespace

const char* commandName(CommandKind kind) noexcept {
  switch (kind) {
    case CommandKind::Register:
      return "register";
    case CommandKind::Ensure:
      return "ensure";
    case CommandKind::Unregister:
      return "unregister";
    case CommandKind::Status:
      return "status";
    case CommandKind::Check:
      return "check";
    case CommandKind::Repair:
      return "repair";
    case CommandKind::Doctor:
      return "doctor";
  }
  return "unknown";
}

ParseResult parseCommandLine(const std::vector<std::string>& arguments) {
  ParseResult result;
  CommandLine& target = result.commandLine;

  CLI::App app("Registers an application's manifest with the SteamVR runtime.", kProgramName);
  app.require_subcommand(1);
  bool version = false;
  app.add_flag("--version", version, "print the version and exit");

  std::vector<Binding> bindings;
  auto add = [&](CommandKind kind, const char* description) {
    CLI::App* command = app.add_subcommand(commandName(kind), description);
    bindings.push_back({command, kind});
    return command;
  };

  for (auto [kind, description] :
       {std::pair{CommandKind::Register,
                  "check the manifest, add it, wait until the runtime lists the application, "
                  "switch auto-launch on"},
        std::pair{CommandKind::Ensure,
                  "register unless the runtime lists the application, keeping the user's "
                  "auto-launch choice; a registration that stopped early is finished"},
        std::pair{CommandKind::Unregister, "remove the manifest from the runtime"}}) {
    CLI::App* command = add(kind, description);
    addKey(*command, target);
    addManifest(*command, target.manifestPath, true);
    addLoader(*command, target);
    command->add_flag("--force", target.force, "go ahead although the manifest check found errors");
  }
  CLI::App* status = add(CommandKind::Status,
                         "show what the runtime and its files hold for the application; exit "
                         "status 0 registered, 6 stale, 7 not registered, 69 unknown");
  addKey(*status, target);
  addManifest(*status, target.manifestPath, false);
  addLoader(*status, target);
  addJson(*status, target);
  CLI::App* check = add(CommandKind::Check, "check the manifest alone; needs no runtime");
  addKey(*check, target);
  addManifest(*check, target.manifestPath, true);
  addJson(*check, target);
  CLI::App* repair = add(CommandKind::Repair,
                         "remove every other listed manifest that declares the key, through the "
                         "runtime, then register this one, keeping the user's auto-launch choice");
  addKey(*repair, target);
  addManifest(*repair, target.manifestPath, true);
  addLoader(*repair, target);
  repair->add_flag("--force", target.force, "go ahead although the manifest check found errors");
  repair->add_flag("--dry-run", target.dryRun,
                   "only print what would be removed; needs no runtime");
  addJson(*repair, target);
  CLI::App* doctor = add(CommandKind::Doctor,
                         "judge every application registered with the runtime, from its files; "
                         "exit status 0 nothing wrong, 5 errors found, 69 the files cannot be "
                         "read");
  doctor->add_flag("--remove-dead", target.removeDead,
                   "remove, through the runtime, the listed entries whose manifest file is gone");
  CLI::Option* doctorDryRun = doctor->add_flag(
      "--dry-run", target.dryRun, "with --remove-dead: only print what would be removed");
  addLoader(*doctor, target);
  addJson(*doctor, target);

  // CLI11 wants the arguments without the program name, last first.
  std::vector<std::string> reversed;
  if (arguments.size() > 1) reversed.assign(arguments.rbegin(), arguments.rend() - 1);

  // --version must win over a missing command, so the flag is looked at
  // before the command requirement is enforced.
  if (std::find(reversed.begin(), reversed.end(), "--version") != reversed.end() &&
      std::find(reversed.begin(), reversed.end(), "--help") == reversed.end()) {
    app.require_subcommand(0, 1);
  }

  // CLI11 would only say that a command is required.
  if (!reversed.empty() && !reversed.back().empty() && reversed.back()[0] != '-' &&
      std::none_of(bindings.begin(), bindings.end(),
                   [&](const Binding& b) { return b.app->get_name() == reversed.back(); })) {
    result.kind = ParseKind::UsageError;
    result.text = std::string(kProgramName) + ": unknown command '" + reversed.back() +
                  "' (expected register, ensure, unregister, status, check, repair or doctor)\n"
                  "Run with --help for more.\n";
    return result;
  }

  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    result.kind = ParseKind::Help;
    result.text = app.help();
    for (const Binding& binding : bindings) {
      if (binding.app->parsed()) result.text = binding.app->help();
    }
    return result;
  } catch (const CLI::CallForAllHelp&) {
    result.kind = ParseKind::Help;
    result.text = app.help("", CLI::AppFormatMode::All);
    return result;
  } catch (const CLI::ParseError& error) {
    result.kind = ParseKind::UsageError;
    result.text = std::string(kProgramName) + ": " + error.what() + "\nRun with --help for more.\n";
    return result;
  }

  if (version) {
    result.kind = ParseKind::Version;
    result.text = std::string(kProgramName) + " " + OSTREL_REGISTER_VERSION + "\n";
    return result;
  }
  for (const Binding& binding : bindings) {
    if (binding.app->parsed()) target.command = binding.kind;
  }
  if (target.command == CommandKind::Doctor) {
    if (target.dryRun && !target.removeDead) {
      result.kind = ParseKind::UsageError;
      result.text = std::string(kProgramName) + ": " + doctorDryRun->get_name() +
                    " goes with --remove-dead\nRun with --help for more.\n";
      return result;
    }
    result.kind = ParseKind::Run;
    return result;
  }
  // A key the runtime refuses (an empty one, control characters, too long)
  // would match no application, or name another: a slip, not a request.
  if (const std::vector<manifestcheck::ManifestFinding> refused =
          manifestcheck::checkAppKey(target.appKey);
      !refused.empty()) {
    result.kind = ParseKind::UsageError;
    result.text = std::string(kProgramName) + ": --key: " + refused.front().message +
                  "\nRun with --help for more.\n";
    return result;
  }
  result.kind = ParseKind::Run;
  return result;
}

registration::StatusQuery statusQueryFor(const CommandLine& commandLine) {
  registration::StatusQuery query;
  query.appKey = commandLine.appKey;
  query.loaderPath = commandLine.loaderPath;
  if (commandLine.manifestPath) {
    query.manifestPath =
        platform::wideToUtf8(registration::registrarPathFor(*commandLine.manifestPath));
  }
  return query;
}

}  // namespace ostrel::registercli
