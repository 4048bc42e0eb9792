// On Windows the loader starts the 64-bit Windows server; a folder holding
// only the Linux one is not a SteamVR this program can use.
#include <gtest/gtest.h>

#include <string>

#include "RuntimeServer.h"
#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/testing/MemoryRegistry.h"

namespace ostrel::runtimeregistry {
namespace {

TEST(RuntimeServer, IsTheWindowsServer) {
  EXPECT_EQ(std::string(runtimeregistry::runtimeServerFile()), "bin\\win64\\vrserver.exe");

  ostrel::testing::MemoryRegistry memory;
  memory.variables = {{"VR_PATHREG_OVERRIDE", "C:\\vr\\openvrpaths.vrpath"}};
  memory.put("C:\\vr\\openvrpaths.vrpath", R"({"runtime":["C:\\SteamVR"]})");
  memory.put("C:\\SteamVR\\bin\\linux64\\vrserver", "");
  EXPECT_FALSE(resolveActiveRuntime(memory, memory).steamVR);
  memory.put("C:\\SteamVR\\bin\\win64\\vrserver.exe", "");
  EXPECT_TRUE(resolveActiveRuntime(memory, memory).steamVR);
}

}  // namespace
}  // namespace ostrel::runtimeregistry
