// Windows: what the system's own path rules make of what a user types.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

std::wstring currentFolder() {
  std::wstring folder = std::filesystem::current_path().wstring();
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

TEST(FullNativePathWindows, RelativePathIsTakenFromTheWorkingDirectory) {
  EXPECT_EQ(fullNativePath(L"app.vrmanifest"), currentFolder() + L"app.vrmanifest");
  EXPECT_EQ(fullNativePath(L"sub\\..\\app.vrmanifest"), currentFolder() + L"app.vrmanifest");
}

TEST(FullNativePathWindows, ForwardSlashesBecomeBackSlashes) {
  EXPECT_EQ(fullNativePath(L"C:/Program Files/Ostrel/app.vrmanifest"),
            L"C:\\Program Files\\Ostrel\\app.vrmanifest");
  EXPECT_EQ(fullNativePath(L"C:\\Ostrel\\\u5e94\u7528/app.vrmanifest"),
            L"C:\\Ostrel\\\u5e94\u7528\\app.vrmanifest");
}

TEST(FullNativePathWindows, LongerThanMaxPathIsNotCut) {
  std::wstring path = L"C:\\Ostrel";
  while (path.size() < 400) path += L"\\folder";
  path += L"/app.vrmanifest";
  std::wstring expected = path;
  expected[expected.size() - 15] = L'\\';
  EXPECT_EQ(fullNativePath(path), expected);
}

TEST(Utf8ToWideWindows, AboveTheBasicPlaneBecomesASurrogatePair) {
  EXPECT_EQ(utf8ToWide("\xf0\x9f\x98\x80"), std::wstring({wchar_t(0xD83D), wchar_t(0xDE00)}));
}

// argv is ignored: the arguments come from the process's own UTF-16 command
// line, whatever main was handed.
TEST(CommandLineArgumentsWindows, ComeFromTheProcessNotFromArgv) {
  char name[] = "not-this-name";
  char* argv[] = {name, nullptr};
  const std::vector<std::string> arguments = commandLineArguments(1, argv);
  ASSERT_FALSE(arguments.empty());
  EXPECT_NE(arguments[0].find("ostrel_platform_tests"), std::string::npos) << arguments[0];
}

}  // namespace
}  // namespace ostrel::platform
