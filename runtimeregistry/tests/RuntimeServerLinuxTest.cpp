// On Linux the loader starts the 64-bit Linux server; a folder holding only
// the Windows one is not a SteamVR this program can use.
#include <gtest/gtest.h>

#include <string>

#include "RuntimeServer.h"
#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/testing/MemoryRegistry.h"

namespace ostrel::runtimeregistry {
namespace {

TEST(RuntimeServer, IsTheLinuxServer) {
  EXPECT_EQ(std::string(runtimeregistry::runtimeServerFile()), "bin/linux64/vrserver");

  ostrel::testing::MemoryRegistry memory;
  memory.variables = {{"VR_PATHREG_OVERRIDE", "/vr/openvrpaths.vrpath"}};
  memory.put("/vr/openvrpaths.vrpath", R"({"runtime":["/steam/SteamVR"]})");
  memory.put("/steam/SteamVR/bin/win64/vrserver.exe", "");
  EXPECT_FALSE(resolveActiveRuntime(memory, memory).steamVR);
  memory.put("/steam/SteamVR/bin/linux64/vrserver", "");
  EXPECT_TRUE(resolveActiveRuntime(memory, memory).steamVR);
}

}  // namespace
}  // namespace ostrel::runtimeregistry
