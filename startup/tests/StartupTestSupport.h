// The runtime's files in memory, a scripted runtime behind a connector, and
// a manifest check that answers as told: everything the start-up call
// reaches, so that each test says exactly what the runtime and its files
// hold.
#pragma once

#include <string>
#include <vector>

#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/JsonText.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/RuntimeWorld.h"
#include "ostrel/testing/ScriptedConnector.h"

namespace ostrel::startup::test {

using ostrel::testing::onHost;
using ostrel::testing::RuntimeWorld;

// One user's SteamVR, as every test of the registration doors lays it out.
inline const std::string& kKey = RuntimeWorld::kKey;
inline const std::string& kUserFolder = RuntimeWorld::kUserFolder;
inline const std::string& kVrpath = RuntimeWorld::kVrpath;
inline const std::string& kConfig = RuntimeWorld::kConfig;
inline const std::string& kRuntime = RuntimeWorld::kRuntimeFolder;
inline const std::string kAppConfig = kConfig + onHost("\\appconfig.json", "/appconfig.json");
inline const std::string& kOurs = RuntimeWorld::kOurs;
inline const std::string& kOld = RuntimeWorld::kOld;
inline const std::string& kOther = RuntimeWorld::kOther;
inline const std::string& kGone = RuntimeWorld::kGone;

using ostrel::testing::jsonString;

// A dashboard overlay's manifest, the kind the runtime applies auto-launch to.
inline std::string manifestDeclaring(const std::string& key) {
  return RuntimeWorld::overlayDeclaring(key);
}

using ostrel::testing::ScriptedConnector;

inline std::vector<manifestcheck::ManifestFinding> checkPasses(std::wstring_view, std::string_view) {
  return {{manifestcheck::FindingSeverity::Warning, "no-name", "no name under strings"}};
}

inline std::vector<manifestcheck::ManifestFinding> checkFails(std::wstring_view, std::string_view) {
  return {{manifestcheck::FindingSeverity::Warning, "no-name", "no name under strings"},
          {manifestcheck::FindingSeverity::Error, "binary-missing", "Ostrel.exe is not there"}};
}

// The runtime's files in memory: ours and the old copy declare the key, the
// other application's does not, and the gone one is not there. The tests
// here answer for the runtime with a scripted connector; the world's own
// stateful runtime is not used.
class RuntimeFiles : public RuntimeWorld {
 public:
  void autoLaunch(bool on) { choose(on); }
};

}  // namespace ostrel::startup::test
