// What the application calls at start-up to keep its own SteamVR
// registration right: after a first install, after a first registration that
// stopped before it was finished, and after the user moved or reinstalled it
// into another folder (the runtime then keeps serving the key from the old
// folder's manifest, and registering again cannot change that).
//
// It is the registration sequence in its StartUp mode
// (ostrel/registration/RegistrationRun.h), in these words:
//   1. Read the runtime's own files. When they list this manifest as the one
//      the runtime serves the key from, no other listed manifest declares
//      the key, an auto-launch choice is recorded for it (where the
//      manifest's application is a dashboard overlay), and the manifest
//      check finds no error in it, the work is done: the runtime is not
//      contacted and its loader is not loaded ("already registered").
//   2. Otherwise check the manifest as `ostrel-register ensure` does; an
//      error ends it there ("failed", the findings in the outcome).
//   3. Connect to the runtime. Not reachable: "unreachable", with the
//      loader's reason and what to do; nothing else happens.
//   4. Another listed copy declares the key (stale): remove each such copy
//      through the runtime, each removal checked, then register this
//      manifest ("repaired"). Nothing registered: register it ("registered"),
//      unless the runtime lists the key already ("already registered"); a
//      key listed with no auto-launch choice recorded is finished
//      ("registered"). Auto-launch: the user's recorded choice is kept as it
//      is, never switched, not even for a moment; where none is recorded it
//      is switched on.
//
// The runtime's files are never written, and no listed manifest that does not
// declare the key is ever removed. Each event is one log line through the
// process logger. Nothing here throws of its own: every failure is an outcome
// (std::bad_alloc aside in the blocking form).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/registration/RegistrationStatus.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/steamvr/Sleeper.h"

namespace ostrel::startup {

enum class StartupAction {
  AlreadyRegistered,  // the registration was right; nothing changed
  Registered,         // this manifest was registered
  Repaired,           // other copies removed, this manifest registered
  Unreachable,        // the runtime could not be reached; nothing changed
  Failed,             // see the text; a removal may have been done
  Cancelled,          // stopped on request before the work was done
};

// "already-registered", "registered", "repaired", "unreachable", "failed",
// "cancelled"; "failed" outside the enum. Static storage, never null.
const char* startupActionName(StartupAction action) noexcept;

// The exit status a program that reports the outcome to a script uses: 0 for
// already registered, registered and repaired; 69 (EX_UNAVAILABLE) for
// unreachable, as ostrel-register; 1 otherwise.
int startupExitStatus(StartupAction action) noexcept;

struct StartupOptions {
  // The application key, as the manifest declares it. Required; one the
  // runtime refuses (manifestcheck::checkAppKey) fails the call before
  // anything is read.
  std::string appKey;
  // The manifest to register, UTF-8; made full by the platform's rules
  // against the working directory (on Windows also given back slashes).
  // Empty: "app.vrmanifest" in the program's folder (below).
  std::string manifestPath;
  // The OpenVR loader library, UTF-8. Empty: in the program's folder, then
  // the system's library search.
  std::string loaderPath;
  // The program's folder, UTF-8, where the defaults above are looked for.
  // Empty: the running executable's (on Linux an AppImage's). A host whose
  // executable is not the application (mono, python3) names the
  // application's.
  std::string programFolder;
};

struct StartupOutcome {
  StartupAction action = StartupAction::Failed;
  // The registrar's result, when a registration ran.
  std::optional<steamvr::RegisterResult> result;
  // The manifest path used, UTF-8, as handed to the runtime; empty when it
  // could not be found.
  std::string manifestPath;
  // Listed manifests removed through the runtime, in order.
  std::vector<std::string> removed;
  // Whether the runtime's loader was asked to connect.
  bool runtimeContacted = false;
  // The manifest check's findings, when it ran; the registry's findings when
  // the decision came from them.
  std::vector<manifestcheck::ManifestFinding> findings;
  // One line for a person, UTF-8.
  std::string text;
};

// Where the start-up reads and reaches things. Every member may be left
// null: then the real one is used.
struct StartupServices {
  // The runtime's files and the environment they are found through.
  registration::RegistrySources sources;
  // The runtime. Null: a connector over the OpenVR loader, made only when the
  // runtime is needed and closed before the call returns.
  registration::IRuntimeConnector* connector = nullptr;
  // The manifest check. Null: manifestcheck::checkManifestForRegistration.
  std::vector<manifestcheck::ManifestFinding> (*check)(std::wstring_view manifestPath,
                                                 std::string_view appKey) = nullptr;
  // Stops the work: polls and retry waits end within the wait under way, and
  // the outcome is "cancelled". Null: the work cannot be stopped.
  steamvr::StoppableSleeper* stop = nullptr;
};

// The blocking form, for tools and for callers on a thread of their own.
// Blocks for as long as the runtime takes to connect (seconds, when the
// runtime's server has to start) and to list the manifest (about two seconds
// at most). Call from one thread at a time: the OpenVR loader keeps one
// runtime connection per process.
StartupOutcome keepRegistrationRight(const StartupOptions& options);
// REQUIRES: the pointers in `services` are null or valid for the call.
StartupOutcome keepRegistrationRight(const StartupOptions& options,
                                     const StartupServices& services);

// The asynchronous form: the work runs on a thread of its own.
class IStartupRegistration {
 public:
  // Requests a stop, then waits for the thread. A stop ends a poll or a
  // retry wait at once; a connection the runtime is still making is waited
  // for. From the callback, it lets the thread end by itself instead.
  virtual ~IStartupRegistration() = default;

  // From any thread, at any time, any number of times.
  virtual void RequestStop() noexcept = 0;
  // Whether the outcome is there. From any thread.
  virtual bool Done() const noexcept = 0;
  // Blocks until the work is done and returns the outcome, valid until the
  // handle is destroyed. From any thread but the work's own (the callback).
  virtual const StartupOutcome& Wait() = 0;
};

// Called once on the work's thread with the outcome, after Done() turns
// true. It may destroy the handle (the thread then ends by itself, touching
// nothing of it; the outcome it was handed dies with the handle); a host
// usually posts the outcome to the thread that owns the handle instead.
using StartupCallback = std::function<void(const StartupOutcome&)>;

// Returns at once with the work under way. Never null. Should the system
// refuse a thread, the handle is returned done, with a "failed" outcome.
std::unique_ptr<IStartupRegistration> startRegistration(StartupOptions options,
                                                        StartupCallback onDone = {});
// As above with `services`' pointers borrowed until the work is done. Its
// `stop`, when set, is the handle's (borrowed until the handle is
// destroyed): a stop requested before the call makes the work end at once,
// cancelled. Null: the handle has its own.
std::unique_ptr<IStartupRegistration> startRegistration(StartupOptions options,
                                                        StartupServices services,
                                                        StartupCallback onDone);

}  // namespace ostrel::startup
