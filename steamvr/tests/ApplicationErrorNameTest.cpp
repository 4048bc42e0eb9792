#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ostrel/steamvr/IVRApplicationsSurface.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"

namespace ostrel::steamvr {
namespace {

TEST(ApplicationErrorName, KnownCodesHaveTheRuntimesNames) {
  EXPECT_STREQ(applicationErrorName(0), "VRApplicationError_None");
  EXPECT_STREQ(applicationErrorName(100), "VRApplicationError_AppKeyAlreadyExists");
  EXPECT_STREQ(applicationErrorName(105), "VRApplicationError_IPCFailed");
  EXPECT_STREQ(applicationErrorName(107), "VRApplicationError_InvalidManifest");
  EXPECT_STREQ(applicationErrorName(115), "VRApplicationError_SteamVRIsExiting");
  EXPECT_STREQ(applicationErrorName(200), "VRApplicationError_BufferTooSmall");
  EXPECT_STREQ(applicationErrorName(203), "VRApplicationError_InvalidParameter");
}

TEST(ApplicationErrorName, EveryOtherCodeIsUnknown) {
  for (ApplicationError code : {-1, 1, 99, 116, 199, 204, 300, 2147483647, -2147483647 - 1}) {
    EXPECT_STREQ(applicationErrorName(code), "VRApplicationError_Unknown") << code;
  }
}

TEST(ApplicationErrorName, EveryCodeInTheRangesHasADistinctName) {
  std::set<std::string> names;
  int known = 0;
  for (ApplicationError code = 0; code <= 300; ++code) {
    const std::string name = applicationErrorName(code);
    ASSERT_EQ(name.rfind("VRApplicationError_", 0), 0u) << code;
    if (name != "VRApplicationError_Unknown") {
      ++known;
      EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    }
  }
  EXPECT_EQ(known, 21);
}

// The seam's own ErrorName, which every surface that does not override it
// inherits, is the lookup; called by name, past the runtime surface's override.
TEST(ApplicationErrorName, SurfaceInheritsTheLookup) {
  ostrel::testing::ScriptedApplicationsSurface surface;
  EXPECT_STREQ(surface.IVRApplicationsSurface::ErrorName(107),
               "VRApplicationError_InvalidManifest");
  EXPECT_STREQ(surface.IVRApplicationsSurface::ErrorName(-1), "VRApplicationError_Unknown");
  EXPECT_TRUE(surface.calls.empty());
}

}  // namespace
}  // namespace ostrel::steamvr
