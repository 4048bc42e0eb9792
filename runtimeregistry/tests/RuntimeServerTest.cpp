// The loader starts the 64-bit server of the system it runs on; a SteamVR
// folder holding only the other system's server is not one this program can
// use.
#include <gtest/gtest.h>

#include <string>

#include "RuntimeServer.h"
#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/MemoryRegistry.h"

namespace ostrel::runtimeregistry {
namespace {

using ostrel::testing::onHost;

TEST(RuntimeServer, IsTheServerOfTheSystemBuiltFor) {
  const std::string own = onHost("bin\\win64\\vrserver.exe", "bin/linux64/vrserver");
  const std::string other = onHost("bin\\linux64\\vrserver", "bin/win64/vrserver.exe");
  EXPECT_EQ(std::string(runtimeServerFile()), own);

  const std::string registry = onHost("C:\\vr\\openvrpaths.vrpath", "/vr/openvrpaths.vrpath");
  const std::string runtime = onHost("C:\\SteamVR\\", "/steam/SteamVR/");
  ostrel::testing::MemoryRegistry memory;
  memory.variables = {{"VR_PATHREG_OVERRIDE", registry}};
  memory.put(registry,
             onHost(R"({"runtime":["C:\\SteamVR"]})", R"({"runtime":["/steam/SteamVR"]})"));
  memory.put(runtime + other, "");
  EXPECT_FALSE(resolveActiveRuntime(memory, memory).steamVR);
  memory.put(runtime + own, "");
  EXPECT_TRUE(resolveActiveRuntime(memory, memory).steamVR);
}

}  // namespace
}  // namespace ostrel::runtimeregistry
