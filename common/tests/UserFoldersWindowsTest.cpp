// The Windows side: the wide environment and the shell's known folder.
#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "platform/WindowsHeaders.h"

namespace ostrel::platform {
namespace {

TEST(EnvironmentVariable, ReadsTheWideEnvironmentAsUtf8) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"OSTREL_TEST_VARIABLE", L"C:\\Jos\u00e9\\\u5e94\u7528"));
  EXPECT_EQ(environmentVariable("OSTREL_TEST_VARIABLE"),
            std::string("C:\\Jos\xC3\xA9\\\xE5\xBA\x94\xE7\x94\xA8"));
  // Longer than the first buffer, so the second read must size it.
  const std::wstring longValue(1000, L'x');
  ASSERT_TRUE(SetEnvironmentVariableW(L"OSTREL_TEST_VARIABLE", longValue.c_str()));
  EXPECT_EQ(environmentVariable("OSTREL_TEST_VARIABLE"), std::string(1000, 'x'));
  ASSERT_TRUE(SetEnvironmentVariableW(L"OSTREL_TEST_VARIABLE", nullptr));
  EXPECT_FALSE(environmentVariable("OSTREL_TEST_VARIABLE"));
}

TEST(UserRuntimeConfigFolder, IsTheShellsLocalApplicationDataFolder) {
  const outcome::Outcome<std::filesystem::path> found = userRuntimeConfigFolder();
  ASSERT_TRUE(found) << found.failure().message;
  const std::filesystem::path& folder = found.value();
  EXPECT_TRUE(folder.is_absolute()) << pathToUtf8(folder);
  EXPECT_TRUE(std::filesystem::is_directory(folder)) << pathToUtf8(folder);
}

}  // namespace
}  // namespace ostrel::platform
