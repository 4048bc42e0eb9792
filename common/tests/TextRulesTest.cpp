#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ostrel/text/Utf8.h"
#include "ostrel/text/WindowsPath.h"

namespace {

using namespace std::string_view_literals;
namespace oc = ostrel::text;

struct Utf8Case {
  std::string_view text;
  std::optional<std::size_t> firstInvalid;
};

TEST(Utf8, FirstInvalidByteTable) {
  const Utf8Case cases[] = {
      {""sv, std::nullopt},
      {"plain ASCII"sv, std::nullopt},
      {"Jos\xc3\xa9 \xe6\x96\x87 \xf0\x9f\x98\x80"sv, std::nullopt},
      {"\xef\xbf\xbf\xf4\x8f\xbf\xbf"sv, std::nullopt},  // U+FFFF, U+10FFFF
      {"a\x80"sv, 1},                                    // lone continuation
      {"ab\xc0\xaf"sv, 2},                               // overlong '/'
      {"\xc1\xbf"sv, 0},                                 // overlong
      {"\xe0\x9f\xbf"sv, 0},                             // overlong three-byte
      {"x\xed\xa0\x80"sv, 1},                            // surrogate U+D800
      {"\xf4\x90\x80\x80"sv, 0},                         // above U+10FFFF
      {"\xf5\x80\x80\x80"sv, 0},
      {"ok\xe6\x96"sv, 2},  // truncated at the end
      {"\xc3("sv, 0},       // continuation missing
      {"a\0b"sv, std::nullopt},
  };
  for (const Utf8Case& c : cases) {
    EXPECT_EQ(oc::firstInvalidUtf8(c.text), c.firstInvalid) << testing::PrintToString(c.text);
    EXPECT_EQ(oc::isValidUtf8(c.text), !c.firstInvalid.has_value());
  }
}

TEST(Utf8, SequenceLengthByLeadByte) {
  EXPECT_EQ(oc::utf8SequenceLength("a"sv, 0), 1u);
  EXPECT_EQ(oc::utf8SequenceLength("\xc3\xa9"sv, 0), 2u);
  EXPECT_EQ(oc::utf8SequenceLength("\xe6\x96\x87"sv, 0), 3u);
  EXPECT_EQ(oc::utf8SequenceLength("\xf0\x9f\x98\x80"sv, 0), 4u);
  EXPECT_EQ(oc::utf8SequenceLength("\xf0\x9f\x98"sv, 0), 0u);
  EXPECT_EQ(oc::utf8SequenceLength("a\xa9"sv, 1), 0u);
}

struct PathCase {
  std::string_view path;
  bool absolute;
  bool windowsApps;
  bool temporary;
  bool driveRooted = false;
};

TEST(WindowsPath, JudgementTable) {
  const PathCase cases[] = {
      {"C:\\Program Files\\Ostrel\\app.vrmanifest", true, false, false},
      {"c:/Program Files/Ostrel/app.vrmanifest", true, false, false},
      {"\\\\server\\share\\app.vrmanifest", true, false, false},
      {"//server/share/app.vrmanifest", true, false, false},
      // The long-path and device forms start with two separators: absolute.
      {"\\\\?\\C:\\Ostrel\\app.vrmanifest", true, false, false},
      {"\\\\.\\C:\\Ostrel\\app.vrmanifest", true, false, false},
      {"C:app.vrmanifest", false, false, false},
      {"\\Ostrel\\app.vrmanifest", false, false, false, true},
      {"/Bindings/actions.json", false, false, false, true},
      {"\\", false, false, false, true},
      {"app.vrmanifest", false, false, false},
      {"", false, false, false},
      {"1:\\x", false, false, false},
      {"C:\\Program Files\\WindowsApps\\Ostrel\\app.vrmanifest", true, true, false},
      {"C:\\Program Files\\windowsAPPS\\ostrel.exe", true, true, false},
      {"C:\\Tools\\WindowsApps", true, false, false},  // the last part is not a folder
      {"C:\\Users\\Jos\xc3\xa9\\AppData\\Local\\Temp\\x\\app.vrmanifest", true, false, true},
      {"C:\\Windows\\TEMP\\app.vrmanifest", true, false, true},
      {"/tmp/app.vrmanifest", false, false, true, true},
      {"C:\\Temperature\\app.vrmanifest", true, false, false},
      {"C:\\Ostrel\\Temp", true, false, false},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(oc::isWindowsAbsolute(c.path), c.absolute) << c.path;
    EXPECT_EQ(oc::underWindowsApps(c.path), c.windowsApps) << c.path;
    EXPECT_EQ(oc::underTemporaryFolder(c.path), c.temporary) << c.path;
    EXPECT_EQ(oc::isDriveRooted(c.path), c.driveRooted) << c.path;
  }
}

struct SameCase {
  std::string_view a;
  std::string_view b;
  bool same;
};

TEST(WindowsPath, SamePathTable) {
  const SameCase cases[] = {
      {"C:\\Ostrel\\ostrel.exe", "c:/ostrel/OSTREL.EXE", true},
      {"C:\\Ostrel\\\\bin\\", "C:\\Ostrel\\bin", true},
      {"C:\\", "C:", false},
      {"C:\\", "c:\\\\", true},
      {"\\\\server\\share", "//SERVER/share/", true},
      {"\\\\server\\share", "\\server\\share", false},
      {"C:\\Old\\Ostrel\\ostrel.exe", "C:\\New\\Ostrel\\ostrel.exe", false},
      // Not normalised: a caller must not take one for the other.
      {"\\\\?\\C:\\Ostrel", "C:\\Ostrel", false},
      // Only ASCII letters fold.
      {"C:\\Jos\xc3\xa9", "C:\\JOS\xc3\x89", false},
      {"C:\\Jos\xc3\xa9", "c:\\jos\xc3\xa9", true},
      {"C:\\Games\\Ostrel\\app.vrmanifest", "C:/Games/Ostrel/app.vrmanifest", true},
      {"C:\\", "c:/", true},
      {"C:\\Games\\Ostrel\\app.vrmanifest", "D:\\Games\\Ostrel\\app.vrmanifest", false},
      {"C:\\Games\\Ostrel\\app.vrmanifest", "C:\\Games\\Ostrel2\\app.vrmanifest", false},
  };
  for (const SameCase& c : cases) {
    EXPECT_EQ(oc::sameWindowsPath(c.a, c.b), c.same) << c.a << " vs " << c.b;
    EXPECT_EQ(oc::sameWindowsPath(c.b, c.a), c.same) << c.b << " vs " << c.a;
  }
  EXPECT_EQ(oc::comparableWindowsPath("C:/A//B/"), "c:\\a\\b");
}

struct InsideCase {
  std::string_view path;
  std::string_view folder;
  bool inside;
};

TEST(WindowsPath, InsideFolderTable) {
  const InsideCase cases[] = {
      {"d:\\scratch\\app.vrmanifest", "D:\\Scratch", true},
      {"D:/Scratch/deep/er/app.vrmanifest", "d:\\scratch\\", true},
      {"D:\\Scratchpad\\app.vrmanifest", "D:\\Scratch", false},
      {"D:\\Scratch", "D:\\Scratch", false},
      {"D:\\Scratch\\", "D:\\Scratch", false},
      {"C:\\Ostrel\\app.vrmanifest", "C:\\", true},
      {"\\\\server\\share\\a", "//SERVER/share", true},
      {"D:\\Scratch\\a", "", false},
  };
  for (const InsideCase& c : cases) {
    EXPECT_EQ(oc::insideWindowsFolder(c.path, c.folder), c.inside) << c.path << " in " << c.folder;
  }
}

TEST(WindowsPath, FolderOfAndCase) {
  EXPECT_EQ(oc::windowsFolderOf("C:\\Ostrel\\app.vrmanifest"), "C:\\Ostrel");
  EXPECT_EQ(oc::windowsFolderOf("C:/Ostrel/bin/x.exe"), "C:/Ostrel/bin");
  EXPECT_EQ(oc::windowsFolderOf("app.vrmanifest"), "");
  EXPECT_EQ(oc::windowsFolderOf("\\app"), "");
  EXPECT_EQ(oc::asciiLower('Q'), 'q');
  EXPECT_EQ(oc::asciiLower('@'), '@');
  EXPECT_EQ(oc::asciiLower('['), '[');
  EXPECT_EQ(oc::asciiLower('\xc3'), '\xc3');
  EXPECT_TRUE(oc::equalIgnoringAsciiCase("Binary", "bINARY"));
  EXPECT_FALSE(oc::equalIgnoringAsciiCase("binary", "binar"));
  EXPECT_FALSE(oc::equalIgnoringAsciiCase("a[", "A{"));
}

}  // namespace
