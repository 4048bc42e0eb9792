// POSIX: our own UTF-8 decoder, on the ill-formed forms Unicode says must
// each become exactly one U+FFFD per maximal ill-formed subsequence.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

TEST(Utf8ToWidePosix, TruncatedSequenceIsOneReplacement) {
  EXPECT_EQ(utf8ToWide("\xe2\x82"), L"\ufffd");
  EXPECT_EQ(utf8ToWide("\xf0\x9f\x98z"), L"\ufffdz");
  EXPECT_EQ(utf8ToWide("\xe2\x82\xe2\x82\xac"), L"\ufffd\u20ac");
}

TEST(Utf8ToWidePosix, OverlongSurrogateAndTooLargeFormsAreRefusedBytewise) {
  EXPECT_EQ(utf8ToWide("\xc0\xaf"), L"\ufffd\ufffd");                      // overlong '/'
  EXPECT_EQ(utf8ToWide("\xe0\x80\xaf"), L"\ufffd\ufffd\ufffd");            // overlong '/'
  EXPECT_EQ(utf8ToWide("\xed\xa0\x80"), L"\ufffd\ufffd\ufffd");            // U+D800
  EXPECT_EQ(utf8ToWide("\xf4\x90\x80\x80"), L"\ufffd\ufffd\ufffd\ufffd");  // > U+10FFFF
  EXPECT_EQ(utf8ToWide("\xf4\x8f\xbf\xbf"), std::wstring(1, static_cast<wchar_t>(0x10FFFF)));
}

TEST(Utf8ToWidePosix, EmbeddedNulIsKept) {
  EXPECT_EQ(utf8ToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

// A relative path is joined to the working directory as text; nothing else
// of it changes.
TEST(FullNativePathPosix, JoinsARelativePathToTheWorkingDirectory) {
  const ostrel::testing::ScratchFolder scratch("ostrel-full-path-");
  ASSERT_FALSE(scratch.path().empty()) << scratch.error();
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(scratch.path());
  const std::wstring here = utf8ToWide(std::filesystem::current_path().native());
  struct Case {
    std::wstring path;
    std::wstring full;
  } cases[] = {
      {L"app.vrmanifest", here + L"/app.vrmanifest"},
      {L"relative/app.vrmanifest", here + L"/relative/app.vrmanifest"},
      {L"./link/../app.vrmanifest", here + L"/./link/../app.vrmanifest"},  // no link resolved
      {L"C:/Ostrel/app.vrmanifest", here + L"/C:/Ostrel/app.vrmanifest"},
      {L"C:\\Ostrel\\app.vrmanifest", here + L"/C:\\Ostrel\\app.vrmanifest"},
      {L"/opt/ostrel/../ostrel//app.vrmanifest", L"/opt/ostrel/../ostrel//app.vrmanifest"},
      {L"/", L"/"},
  };
  for (const Case& c : cases) EXPECT_EQ(fullNativePath(c.path), c.full);
  std::filesystem::current_path("/");
  EXPECT_EQ(fullNativePath(L"app.vrmanifest"), L"/app.vrmanifest");
  std::filesystem::current_path(previous);
}

TEST(CommandLineArgumentsPosix, ArgvAsItIs) {
  char name[] = "ostrel-register";
  char path[] = "/tmp/Jos\xc3\xa9\xff/app.vrmanifest";
  char* argv[] = {name, path, nullptr};
  EXPECT_EQ(commandLineArguments(2, argv),
            (std::vector<std::string>{"ostrel-register", "/tmp/Jos\xc3\xa9\xff/app.vrmanifest"}));
}

}  // namespace
}  // namespace ostrel::platform
