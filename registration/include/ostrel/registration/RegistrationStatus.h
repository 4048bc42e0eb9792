// What is known about one application key's registration: the runtime's
// answers when it can be reached, what the runtime's own files say, where the
// two disagree, and the one state an installer or the application branches
// on. A report is plain data; building one blocks on the disk and, when
// asked, the runtime. Nothing here throws but std::bad_alloc: what cannot be
// read or reached is a finding. Thread-compatible.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/registration/RegisteredPlace.h"
#include "ostrel/openvr/OpenVRApplicationsSurface.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::registration {

enum class RegistrationState {
  Registered,     // the key is served, and not stale
  NotRegistered,  // nothing serves the key
  Stale,          // another listed manifest declares the key, or the runtime
                  // starts a binary or folder other than the manifest's
  Unknown,        // neither the runtime nor its files could be read
};

// The finding codes a status report adds to the registry's
// (runtimeregistry/RegistryFindingCodes.h): stable, like theirs.
namespace findings {
// The runtime was asked and could not be reached; the rest comes from its
// files alone.
inline constexpr const char* kRuntimeUnreachable = "runtime-unreachable";
// The runtime's answers and its files differ (auto-launch, or whether the key
// is listed).
inline constexpr const char* kViewsDisagree = "views-disagree";
}  // namespace findings

// "registered", "not-registered", "stale", "unknown" (state names, which a
// finding code may happen to spell alike); "unknown" outside the enum too.
// Static storage, never null.
const char* registrationStateName(RegistrationState state) noexcept;

// Where the registry reader gets its environment and files. Both borrowed,
// for the call they are passed to; whatever reads them requires both to be
// non-null.
struct RegistrySources {
  runtimeregistry::IRegistryEnvironment* environment = nullptr;
  runtimeregistry::IRegistryFiles* files = nullptr;
};

// The runtime's side. Only `reachable` and `failure` are meaningful when it
// could not be reached; only `installed` besides when the key is not
// installed.
struct RuntimeView {
  bool asked = false;  // false: the command did not try (repair --dry-run)
  bool reachable = false;
  RuntimeFailure failure;
  // The runtime that is active instead, when the failure is that it is not
  // SteamVR.
  std::optional<runtimeregistry::ActiveRuntime> notSteamVR;
  bool installed = false;
  openvr::ApplicationFlag autoLaunch;
  openvr::ApplicationFlag overlay;
  openvr::ApplicationText binary;
  openvr::ApplicationText workingDirectory;
  // The registered place against the manifest, when one was named and read.
  std::optional<PlaceVerdict> place;
  std::string placeProblem;  // why there is no verdict, when one was expected
};

struct StatusReport {
  std::string appKey;
  // The full path the registrar is given for --manifest, UTF-8.
  std::optional<std::string> manifestPath;
  RuntimeView runtime;
  runtimeregistry::RuntimeRegistry registry;
  // The registry's findings, less what the runtime's answers overrule
  // (auto-launch-off, and not-registered when the state is Registered), plus
  // runtime-unreachable, the runtime's own auto-launch-off and
  // views-disagree.
  std::vector<runtimeregistry::RegistryFinding> findings;
  RegistrationState state = RegistrationState::Unknown;

  // Whether the key is installed: the runtime's answer when it was reached,
  // else whether a listed manifest serves the key when the registry was
  // read; nullopt when neither tells.
  std::optional<bool> installed() const;
  // Whether auto-launch is on: the runtime's answer when it was reached, the
  // key is installed and the runtime answered; nullopt when it was reached
  // and the key is not installed; otherwise the .vrappconfig's setting
  // (nullopt when that says nothing).
  std::optional<bool> autoLaunch() const;
};

// What a report is about.
struct StatusQuery {
  std::string appKey;
  // The manifest the registration should come from, UTF-8, as the registrar
  // is given it (registrarPathFor); nullopt when none is named.
  std::optional<std::string> manifestPath;
  // The loader library, UTF-8; empty: the session's default search.
  std::string loaderPath;
};

// Reads the registry through `sources`, then asks the runtime (unless
// `askRuntime` is false; one Connect with query.loaderPath, and when the key
// is installed and a manifest named, that manifest is read to judge the
// registered place), then judges (judgeStatus). When `surface` is not null it
// receives the connected surface, owned by `connector` and valid until it is
// destroyed, or nullptr when the runtime was not reached or not asked.
// REQUIRES: `sources`' pointers are not null.
StatusReport buildStatusReport(const StatusQuery& query, IRuntimeConnector& connector,
                               const RegistrySources& sources, bool askRuntime,
                               openvr::OpenVRApplicationsSurface** surface = nullptr);

// Records in `view` why the runtime could not be reached and, when the reason
// is that the active runtime is not SteamVR, which runtime it is (read again
// through `sources`, as the connector read it). REQUIRES: `sources`'
// pointers are not null.
void recordUnreachable(RuntimeView& view, RuntimeFailure failure, const RegistrySources& sources);

// The judgement alone, over views already gathered: replaces `findings` and
// sets `state` from `appKey`, `runtime` and `registry`. Reads nothing else
// and asks nobody.
void judgeStatus(StatusReport& report);

}  // namespace ostrel::registration
