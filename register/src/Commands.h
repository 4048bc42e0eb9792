// The dispatcher and the seven commands of ostrel-register.
//
// Each command blocks until done and returns the process's exit status
// (ExitStatus.h); every failure is told by that status and the summary line,
// never by an exception (std::bad_alloc aside). The result goes to `out`: the
// summary line last (for status and check the report before it; with --json
// one JSON object and nothing else). Diagnostics go to `err`: the manifest
// findings of register, ensure and repair and the notes on going ahead
// anyway, beside the registrar's own log lines, which go through the process
// logger.
//
// The runtime is reached only through `connector`, borrowed for the call, at
// most once per command and only when the command needs it: never by check or
// repair --dry-run, nor when the manifest check stops register, ensure or
// repair. Not synchronised: one command at a time, since the OpenVR loader
// keeps one runtime connection per process.
#pragma once

#include <ostream>
#include <string>

#include "CommandLine.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/registration/RegistrationStatus.h"

namespace ostrel::registercli {

// The dispatcher: runs the command commandLine.command names, as below, and
// returns its exit status; kExitUsage for a value outside CommandKind.
// `sources` is read by status, ensure, repair and doctor. REQUIRES: what the command
// dispatched to requires; a Run result of parseCommandLine meets it, given
// non-null `sources`.
int runCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
               const registration::RegistrySources& sources, std::ostream& out, std::ostream& err);

// ---------------------------------------------------------------------------
// The seven commands.

// register, ensure, unregister. register and ensure check the manifest first
// (the findings on `err`); errors without --force end it there with
// refusedSummary and kExitManifestErrors. kExitUnavailable with
// unavailableSummary when the runtime cannot be reached. register and
// unregister then run the registrar's operation (its result, exitStatusFor,
// 0 to 4, with registrationSummary): register switches auto-launch on every
// time. ensure is the registration sequence in its Ensure mode
// (registration/RegistrationRun.h): "already registered" when the runtime
// lists the key with an auto-launch choice recorded; a key listed without one
// is finished (auto-launch switched on); otherwise the manifest is added and
// the user's recorded choice kept. REQUIRES: commandLine.command is Register,
// Ensure or Unregister; commandLine.manifestPath is set; `sources`' pointers
// are not null.
int runRegistrationCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                           const registration::RegistrySources& sources, std::ostream& out,
                           std::ostream& err);

// Reads the runtime's files through `sources`, asks the runtime, and prints
// the report (registration::buildStatusReport); with commandLine.manifestPath, also whether
// the registration points at that manifest. Returns exitStatusForState: 0
// registered, 6 stale, 7 not registered, 69 unknown. REQUIRES: `sources`'
// pointers are not null.
int runStatusCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                     const registration::RegistrySources& sources, std::ostream& out);

// Checks the manifest as register would (the path the registrar would be
// given, then the file) without the runtime. Prints the findings, then "check
// passed for <path>" (with the count of warnings, if any) or "check failed
// for <path>: ..."; returns 0, or kExitManifestErrors when any finding is an
// error. REQUIRES: commandLine.manifestPath is set.
int runCheckCommand(const CommandLine& commandLine, std::ostream& out);

// The registration sequence in its Repair mode (registration/RegistrationRun.h):
// checks the manifest as register does (the findings on `err`; errors
// without --force: kExitManifestErrors, nothing done), then removes through
// the runtime, logging each, every listed manifest other than
// commandLine.manifestPath that declares the key (never one that does not),
// then adds that manifest, waits until the runtime lists it, and keeps the
// user's recorded auto-launch choice (switching it on only where none is
// recorded); when the runtime's list cannot be read it only registers.
// Returns kExitUnavailable when the runtime cannot be reached (nothing
// removed); 4 (RemoveFailed) when a removal is refused, and nothing is
// registered then (the removals before it stay done); else the registrar's
// result, as register. --dry-run reads the files only, prints what it would
// remove and returns 0 unless the check stopped it. REQUIRES:
// commandLine.manifestPath is set; `sources`' pointers are not null.
int runRepairCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                     const registration::RegistrySources& sources, std::ostream& out, std::ostream& err);

// Judges every application the runtime's files list (doctor::runDoctor,
// reading through `sources` and the disk for binaries) and prints the
// report (doctor::doctorText), or with --json its JSON; with --remove-dead
// the dead entries are removed through `connector` first (only when there
// is one to remove; --dry-run only names them). Returns
// exitStatusForDoctor: 0 nothing wrong, 5 an error found, 4 a removal
// refused, 69 the runtime's list cannot be read or, removing, the runtime
// cannot be reached. REQUIRES: `sources`' pointers are not null.
int runDoctorCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                     const registration::RegistrySources& sources, std::ostream& out);

}  // namespace ostrel::registercli
