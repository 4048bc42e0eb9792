// The six commands. Each returns the process's exit status and writes its
// result to `out` and its diagnostics to `err`: the summary line (and for
// status and check, the report before it) on `out`; the manifest findings of
// register and ensure on `err`, beside the registrar's own log lines.
#pragma once

#include <ostream>

#include "CommandLine.h"
#include "RuntimeConnection.h"
#include "StatusReport.h"

namespace ostrel::registercli {

// register, ensure, unregister. REQUIRES: commandLine.manifestPath is set.
int runRegistrationCommand(const CommandLine& commandLine, IRuntimeConnector& connector,
                           std::ostream& out, std::ostream& err);

// Reads the runtime's files through `sources` and asks the runtime; exits
// with the state (exitStatusForState).
int runStatusCommand(const CommandLine& commandLine, IRuntimeConnector& connector,
                     const RegistrySources& sources, std::ostream& out);

// REQUIRES: commandLine.manifestPath is set.
int runCheckCommand(const CommandLine& commandLine, std::ostream& out);

// Removes, through the runtime, every listed manifest other than
// commandLine.manifestPath that declares the key (never one that does not),
// then registers that manifest. Exit statuses as register's; 4 when a
// removal is refused, and nothing is registered then. --dry-run reads the
// files only. REQUIRES: commandLine.manifestPath is set.
int runRepairCommand(const CommandLine& commandLine, IRuntimeConnector& connector,
                     const RegistrySources& sources, std::ostream& out, std::ostream& err);

// Dispatches on commandLine.command.
int runCommand(const CommandLine& commandLine, IRuntimeConnector& connector,
               const RegistrySources& sources, std::ostream& out, std::ostream& err);

// The path the registrar is given for `manifestPath` (UTF-8): made absolute
// and native by the platform (Windows), unchanged elsewhere.
std::wstring registrarPathFor(const std::string& manifestPath);

}  // namespace ostrel::registercli
