#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ManifestCheckTestSupport.h"
#include "PathRules.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

using manifestcheck::testing::codes;
using Codes = std::vector<std::string>;

// The rules of SteamVR on Windows, on every host (LinuxRulesTest.cpp has
// Linux's).
std::vector<ManifestFinding> windowsPath(const std::wstring& path) {
  return checkManifestPath(path, RuntimeSystem::Windows);
}

Codes pathCodes(const std::wstring& path) { return codes(windowsPath(path)); }

TEST(RegistrarPath, FullWindowsPathsPass) {
  EXPECT_EQ(pathCodes(L"C:\\Program Files\\Ostrel\\ostrel.vrmanifest"), Codes{});
  EXPECT_EQ(pathCodes(L"d:\\o.vrmanifest"), Codes{});
  EXPECT_EQ(pathCodes(L"\\\\server\\share\\ostrel.vrmanifest"), Codes{});
}

TEST(RegistrarPath, UnusablePathsAreErrors) {
  EXPECT_EQ(pathCodes(L""), Codes{"path-empty"});
  EXPECT_EQ(pathCodes(std::wstring(L"C:\\a\0b", 6)), Codes{"path-nul"});
  EXPECT_EQ(pathCodes(L"ostrel.vrmanifest"), Codes{"path-relative"});
  EXPECT_EQ(pathCodes(L"C:ostrel.vrmanifest"), Codes{"path-relative"}) << "drive-relative";
  EXPECT_EQ(pathCodes(L"\\Ostrel\\ostrel.vrmanifest"), Codes{"path-relative"}) << "no drive";
  EXPECT_EQ(pathCodes(L"C:/Ostrel/ostrel.vrmanifest"), Codes{"path-forward-slash"});
  EXPECT_EQ(pathCodes(L"/opt/ostrel/ostrel.vrmanifest"),
            (Codes{"path-relative", "path-forward-slash"}));
  for (const auto& finding : windowsPath(L"app.vrmanifest")) {
    EXPECT_EQ(finding.severity, FindingSeverity::Error);
  }
}

TEST(RegistrarPath, NonAsciiIsAWarningWithThePathInUtf8) {
  const auto findings = windowsPath(L"C:\\Spiele\\Ostr\u00e9l\\o.vrmanifest");
  ASSERT_EQ(codes(findings), Codes{"non-ascii-path"});
  EXPECT_EQ(findings[0].severity, FindingSeverity::Warning);
  EXPECT_NE(findings[0].message.find("\"C:\\Spiele\\Ostr\xC3\xA9l\\o.vrmanifest\""),
            std::string::npos)
      << findings[0].message;
}

TEST(BinaryPath, WindowsAppsMustBeAFolderOfThePath) {
  EXPECT_TRUE(underWindowsApps("C:\\Program Files\\WindowsApps\\V.O_1.0\\o.exe"));
  EXPECT_TRUE(underWindowsApps("c:/program files/WINDOWSAPPS/o.exe"));
  EXPECT_FALSE(underWindowsApps("C:\\Tools\\WindowsAppsBackup\\o.exe"));
  EXPECT_FALSE(underWindowsApps("C:\\Tools\\WindowsApps"));
}

}  // namespace
}  // namespace ostrel::manifestcheck
