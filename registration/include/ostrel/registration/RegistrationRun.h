// Making the runtime serve an application key from one manifest, with the
// user's auto-launch choice kept: the one sequence behind `ostrel-register
// ensure` and `repair`, the application's start-up call and the C interface.
// Each of them only translates its arguments into a RegistrationRequest and
// the RegistrationRun back into its own words.
//
// In this order, each step only when the ones before allow it:
//   1. The key is judged (manifestcheck::checkAppKey): a key the runtime
//      refuses ends it (KeyRefused), whatever `force` says.
//   2. The manifest is checked (the services' check); an error ends it
//      (CheckFailed) unless `force`.
//   3. The runtime's files are read (the status report, without the
//      runtime). In StartUp mode, files that show this manifest serving the
//      key, no other copy declaring it, and an auto-launch choice recorded
//      where the manifest's application is a dashboard overlay end it there
//      (Current): the runtime is not reached and its loader not loaded.
//   4. The plan: in Repair mode, and in StartUp mode, every other listed
//      manifest that declares the key (never one that does not: other
//      applications' entries are not ours); in Ensure mode, none.
//      `dryRun` ends it there (DryRun).
//   5. The runtime is reached (Unreachable when it cannot be), and asked for
//      the user's auto-launch choice (AutoLaunchChoice.h) before anything
//      changes.
//   6. Each planned copy is removed, each removal checked; the first refusal
//      ends it (RemovalRefused) with nothing added.
//   7. This manifest is added and waited for until the runtime lists the key
//      (RegistrationFailed when refused or not listed in time). In Ensure
//      mode, and in StartUp mode when nothing was planned, only when the
//      runtime does not list the key already.
//   8. Auto-launch by one rule: a recorded choice is kept as it is, never
//      switched; none recorded: switched on where the manifest's application
//      is a dashboard overlay (RegistrationFailed with AutoLaunchFailed when
//      the runtime refuses). A key listed before with none recorded is a
//      first registration that stopped early, and is finished (Finished).
//
// The runtime's files are only read; every change goes through the runtime's
// API. Each event is one log line through the process logger. Nothing here
// throws but std::bad_alloc. Not synchronised: one run at a time per
// process, as the OpenVR loader keeps one runtime connection.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/AutoLaunchChoice.h"
#include "ostrel/registration/RegistrationStatus.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/steamvr/Sleeper.h"

namespace ostrel::registration {

enum class RegistrationMode {
  Ensure,  // add only when the runtime does not list the key; other copies stay
  Repair,  // remove the other copies that declare the key, then add this manifest
  // The application's own start: nothing when the files show the
  // registration right and finished; else as Repair when another copy
  // declares the key, as Ensure when none does.
  StartUp,
};

struct RegistrationRequest {
  RegistrationMode mode = RegistrationMode::Ensure;
  std::string appKey;
  // The manifest, as the registrar is given it (registrarPathFor).
  std::wstring manifestPath;
  // The loader library, UTF-8; empty: the session's default search.
  std::string loaderPath;
  // Go ahead despite the manifest check's errors (never despite a bad key).
  bool force = false;
  // Read the files and plan; reach nothing.
  bool dryRun = false;
};

struct RegistrationRun;

using ManifestCheckFunction = std::vector<manifestcheck::ManifestFinding> (*)(
    std::wstring_view manifestPath, std::string_view appKey);

// What a run reads and reaches; borrowed for the call.
struct RegistrationServices {
  // The runtime's files, and the manifest read for whether its application
  // is a dashboard overlay. REQUIRED: both pointers set.
  RegistrySources sources;
  // The runtime. REQUIRED.
  IRuntimeConnector* connector = nullptr;
  // The manifest check. Null: manifestcheck::checkManifestForRegistration.
  ManifestCheckFunction check = nullptr;
  // Polls wait through it, and a stop requested through it ends the run at
  // its next step (Cancelled). Null: the plain sleep, never stopped.
  steamvr::StoppableSleeper* stop = nullptr;
  // Called once with the run so far when the check has passed (or was
  // overruled) and the plan is made, before a dry run ends or the runtime
  // is reached: a command shows the findings then, ahead of the runtime's
  // log lines. May be empty.
  std::function<void(const RegistrationRun&)> planned;
};

enum class RegistrationEnd {
  Current,             // StartUp: the files show it right; the runtime not reached
  AlreadyListed,       // the runtime lists the key, a choice is recorded: nothing changed
  Finished,            // listed before with no choice recorded: auto-launch switched on
  Registered,          // this manifest added, nothing removed
  Repaired,            // other copies removed, this manifest added
  DryRun,              // planned only
  KeyRefused,          // the key is one the runtime refuses
  CheckFailed,         // the manifest check found errors, without force
  Unreachable,         // the runtime could not be reached; nothing changed
  RemovalRefused,      // the runtime refused a removal; nothing added
  RegistrationFailed,  // the add, the wait or switching auto-launch on failed
  Cancelled,           // stopped on request before the work was done
};

// "current", "already-listed", "finished", "registered", "repaired",
// "dry-run", "key-refused", "check-failed", "unreachable", "removal-refused",
// "registration-failed", "cancelled"; "unknown" outside the enum. Static
// storage, never null.
const char* registrationEndName(RegistrationEnd end) noexcept;

// What auto-launch came to.
enum class AutoLaunchStep {
  NotReached,   // the run ended before the step
  Kept,         // the user's recorded choice, left as it was (choice.on says which)
  SwitchedOn,   // none was recorded: switched on
  NotApplied,   // none recorded, but the application is no dashboard overlay
  Refused,      // switching on was refused by the runtime
};

struct RegistrationRun {
  RegistrationEnd end = RegistrationEnd::RegistrationFailed;
  // The manifest as handed to the runtime, UTF-8.
  std::string manifestPath;
  // The key's judgement and the manifest check's findings, in that order.
  std::vector<manifestcheck::ManifestFinding> checkFindings;
  // The status as read before anything changed, judged: the files always;
  // once the runtime was tried, whether it was reached (or why not), and
  // when reached whether it listed the key and its auto-launch answer.
  StatusReport status;
  // The copies planned for removal, in the runtime's order.
  std::vector<std::string> plan;
  // The copies removed, in order; the one refused, where the removals
  // stopped, and the runtime's name for its answer.
  std::vector<std::string> removed;
  std::optional<std::string> refused;
  std::string refusedError;
  // Whether the runtime was asked to connect.
  bool runtimeContacted = false;
  // Whether the manifest was handed to the runtime (AddApplicationManifest
  // was called, whatever it answered).
  bool added = false;
  // The registrar's result, when the add ran; AutoLaunchFailed when
  // switching auto-launch on was refused after it.
  std::optional<steamvr::RegisterResult> result;
  // The text of the failure that ended the run, one line for a person: the
  // registrar's, the runtime's reason, or the first refusing finding's.
  std::string error;
  // The user's choice as found before anything changed, and what was done.
  AutoLaunchChoice choice;
  AutoLaunchStep autoLaunch = AutoLaunchStep::NotReached;

  // Whether the run left the key served from this manifest: Current,
  // AlreadyListed, Finished, Registered, Repaired.
  bool succeeded() const noexcept;
};

// Runs the sequence above. REQUIRES: `services`' sources and connector set.
RegistrationRun runRegistration(const RegistrationRequest& request,
                                const RegistrationServices& services);

// The exit status `ostrel-register` ends such a run with (ExitStatus.h): 0
// for every success and a dry run; 64 for a refused key; 5 for the check; 69
// unreachable; 4 a refused removal; the registrar's result for a failed
// registration; a cancelled run as its registrar result when it added,
// else 69 (nothing was done).
int exitStatusForRun(const RegistrationRun& run) noexcept;

}  // namespace ostrel::registration
