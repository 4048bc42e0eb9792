// The self-check's five fixed scenarios: the manifest registrar driven against
// a scripted, recording stand-in for the runtime's applications API.
//
// One PASS line per scenario and "all tests passed" go to `out`; the first
// failed check writes one FAIL line to `err` and ends the run with status 1.
#include "Scenarios.h"

#include <memory>
#include <ostream>
#include <string>

#include "RecordingStub.h"
#include "RunnerManifestPath.h"

namespace svr = ostrel::steamvr;

// Evaluates the expression once; on false reports it with its source line and
// leaves the run with status 1, releasing the scenario's objects on the way.
#define CHECK(expression)                                                 \
  do {                                                                    \
    if (!(expression)) {                                                  \
      err << "FAIL: " << #expression << " at line " << __LINE__ << "\n"; \
      return 1;                                                           \
    }                                                                     \
  } while (false)

int runScenarios(RegistrarFactory factory, std::ostream& out, std::ostream& err) {
  const std::string key = "vantorell.ostrel";
  const std::wstring path = runnerManifestPath();

  {
    StubApplicationsSurface stub;
    stub.addResults_.push(0);
    stub.installedResults_.push(false);
    stub.installedResults_.push(false);
    stub.installedResults_.push(true);
    stub.autoLaunchResults_.push(0);
    std::unique_ptr<svr::IManifestRegistrar> reg = factory(&stub, key, path);
    CHECK(reg != nullptr);
    svr::RegisterResult r = reg->Register();
    CHECK(r == svr::RegisterResult::Success);
    CHECK(countCalls(stub.callLog_, "IsApplicationInstalled(") == 3);
    CHECK(countCalls(stub.callLog_, "SetApplicationAutoLaunch(") == 1);
    int idxAdd = firstCallIndex(stub.callLog_, "AddApplicationManifest(");
    int idxSet = firstCallIndex(stub.callLog_, "SetApplicationAutoLaunch(");
    CHECK(idxAdd >= 0);
    CHECK(idxSet > idxAdd);
    CHECK(idxSet >= 1);
    CHECK(stub.callLog_[idxSet - 1].rfind("IsApplicationInstalled(", 0) == 0);
    out << "PASS case_1_register_happy_path\n";
  }

  {
    StubApplicationsSurface stub;
    stub.addResults_.push(0);
    for (int i = 0; i < 25; ++i) stub.installedResults_.push(false);
    std::unique_ptr<svr::IManifestRegistrar> reg = factory(&stub, key, path);
    CHECK(reg != nullptr);
    svr::RegisterResult r = reg->Register();
    CHECK(r == svr::RegisterResult::PollTimeout);
    CHECK(countCalls(stub.callLog_, "SetApplicationAutoLaunch(") == 0);
    CHECK(countCalls(stub.callLog_, "IsApplicationInstalled(") == 20);
    out << "PASS case_2_poll_timeout_no_setautolaunch\n";
  }

  {
    StubApplicationsSurface stub;
    stub.addResults_.push(107);
    std::unique_ptr<svr::IManifestRegistrar> reg = factory(&stub, key, path);
    CHECK(reg != nullptr);
    svr::RegisterResult r = reg->Register();
    CHECK(r == svr::RegisterResult::AddFailed);
    CHECK(countCalls(stub.callLog_, "AddApplicationManifest(") == 1);
    CHECK(countCalls(stub.callLog_, "IsApplicationInstalled(") == 0);
    CHECK(countCalls(stub.callLog_, "SetApplicationAutoLaunch(") == 0);
    out << "PASS case_3_add_failed_short_circuit\n";
  }

  {
    StubApplicationsSurface stub;
    stub.installedResults_.push(true);
    std::unique_ptr<svr::IManifestRegistrar> reg = factory(&stub, key, path);
    CHECK(reg != nullptr);
    svr::RegisterResult r = reg->EnsureRegistered();
    CHECK(r == svr::RegisterResult::Success);
    CHECK(countCalls(stub.callLog_, "IsApplicationInstalled(") == 1);
    CHECK(countCalls(stub.callLog_, "AddApplicationManifest(") == 0);
    CHECK(countCalls(stub.callLog_, "SetApplicationAutoLaunch(") == 0);
    out << "PASS case_4_ensure_registered_idempotent\n";
  }

  {
    StubApplicationsSurface stub;
    stub.removeResults_.push(0);
    std::unique_ptr<svr::IManifestRegistrar> reg = factory(&stub, key, path);
    CHECK(reg != nullptr);
    svr::RegisterResult r = reg->Unregister();
    CHECK(r == svr::RegisterResult::Success);
    CHECK(countCalls(stub.callLog_, "RemoveApplicationManifest(") == 1);
    CHECK(stub.callLog_[0].find("app.vrmanifest") != std::string::npos);
    out << "PASS case_5_unregister\n";
  }

  out << "all tests passed\n";
  return 0;
}
