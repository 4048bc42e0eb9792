#include "Scenarios.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "ostrel/steamvr/IManifestRegistrar.h"

namespace {

namespace svr = ostrel::steamvr;

std::unique_ptr<svr::IManifestRegistrar> noRegistrar(svr::IVRApplicationsSurface*, std::string,
                                                     std::wstring) {
  return nullptr;
}

// Claims success for everything without asking the runtime.
class BoastingRegistrar final : public svr::IManifestRegistrar {
 public:
  svr::RegisterResult Register() override { return svr::RegisterResult::Success; }
  svr::RegisterResult Unregister() override { return svr::RegisterResult::Success; }
  svr::RegisterResult EnsureRegistered() override { return svr::RegisterResult::Success; }
  std::string LastError() const override { return {}; }
  svr::RegisterResult AddAndWait() override { return svr::RegisterResult::Success; }
};

std::unique_ptr<svr::IManifestRegistrar> boastingRegistrar(svr::IVRApplicationsSurface*,
                                                           std::string, std::wstring) {
  return std::make_unique<BoastingRegistrar>();
}

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(RegistrarFactory factory) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runScenarios(factory, out, err);
  return {status, out.str(), err.str()};
}

TEST(Scenarios, NoRegistrarFailsTheFirstCheckAndStops) {
  const Outcome got = run(&noRegistrar);
  EXPECT_EQ(got.status, 1);
  EXPECT_EQ(got.out, "");
  EXPECT_EQ(got.err.rfind("FAIL: reg != nullptr at line ", 0), 0u) << got.err;
  EXPECT_EQ(got.err.find('\n'), got.err.size() - 1) << "one line only: " << got.err;
}

TEST(Scenarios, ARegistrarThatNeverPollsFailsTheFirstScenario) {
  const Outcome got = run(&boastingRegistrar);
  EXPECT_EQ(got.status, 1);
  EXPECT_EQ(got.out, "");
  EXPECT_EQ(got.err.rfind("FAIL: countCalls(stub.callLog_, \"IsApplicationInstalled(\") == 3 at line ",
                          0),
            0u)
      << got.err;
}

}  // namespace
