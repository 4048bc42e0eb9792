// What `status` and `repair` know about one application key: the runtime's
// answers when it can be reached, what the runtime's own files say, where the
// two disagree, and the one state an installer branches on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "RuntimeConnection.h"
#include "StaleRegistration.h"
#include "ostrel/steamvr/OpenVRApplicationsSurface.h"
#include "ostrel/steamvr/RuntimeRegistry.h"

namespace ostrel::registercli {

enum class RegistrationState {
  Registered,     // the runtime serves the key from the manifest asked about
  NotRegistered,  // nothing serves the key
  Stale,          // another listed manifest declares the key
  Unknown,        // neither the runtime nor its files could be read
};

// "registered", "not-registered", "stale", "unknown".
const char* registrationStateName(RegistrationState state) noexcept;

// 0, 7, 6, 69.
int exitStatusForState(RegistrationState state) noexcept;

// Where the registry reader gets its environment and files. Borrowed.
struct RegistrySources {
  steamvr::IRegistryEnvironment* environment = nullptr;
  steamvr::IRegistryFiles* files = nullptr;
};

// The runtime's side. Only `reachable` and `failure` are meaningful when it
// could not be reached; only `installed` besides when the key is not
// installed.
struct RuntimeView {
  bool asked = false;  // false: the command did not try (repair --dry-run)
  bool reachable = false;
  RuntimeFailure failure;
  bool installed = false;
  steamvr::ApplicationFlag autoLaunch;
  steamvr::ApplicationFlag overlay;
  steamvr::ApplicationText binary;
  steamvr::ApplicationText workingDirectory;
  // The registered place against the manifest, when one was named and read.
  std::optional<PlaceVerdict> place;
  std::string placeProblem;  // why there is no verdict, when one was expected
};

struct StatusReport {
  std::string appKey;
  // The full path the registrar is given for --manifest, UTF-8.
  std::optional<std::string> manifestPath;
  RuntimeView runtime;
  steamvr::RuntimeRegistry registry;
  // The registry's findings, less what the runtime's answers overrule, plus
  // runtime-unreachable and views-disagree.
  std::vector<steamvr::RegistryFinding> findings;
  RegistrationState state = RegistrationState::Unknown;

  // The runtime's answer when it was reached, else the registry's; nullopt
  // when neither tells.
  std::optional<bool> installed() const;
  std::optional<bool> autoLaunch() const;
};

// Reads the registry, then asks the runtime (unless `askRuntime` is false),
// then judges. `surface` receives the connected surface (nullptr when not
// reached or not asked).
StatusReport buildStatusReport(const CommandLine& commandLine, IRuntimeConnector& connector,
                               const RegistrySources& sources, bool askRuntime,
                               steamvr::OpenVRApplicationsSurface** surface = nullptr);

// The judgement alone, over views already gathered; fills `findings` and
// `state`.
void judgeStatus(StatusReport& report);

}  // namespace ostrel::registercli
