// POSIX: our own UTF-8 decoder, on the ill-formed forms Unicode says must
// each become exactly one U+FFFD per maximal ill-formed subsequence.
#include <gtest/gtest.h>

#include <string>

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

// The paths that matter are the runtime's; judging them is not ours to do.
TEST(FullNativePathPosix, LeavesTheTextUnchanged) {
  EXPECT_EQ(fullNativePath(L"relative/app.vrmanifest"), L"relative/app.vrmanifest");
  EXPECT_EQ(fullNativePath(L"C:/Ostrel/app.vrmanifest"), L"C:/Ostrel/app.vrmanifest");
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
