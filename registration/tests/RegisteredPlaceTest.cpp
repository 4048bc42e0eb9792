#include <gtest/gtest.h>

#include <string>

#include "ostrel/registration/ManifestLocation.h"
#include "ostrel/registration/RegisteredPlace.h"

namespace ostrel::registration {
namespace {

ManifestLocation at(const std::string& folder, const char* binary) {
  ManifestLocation location;
  location.folder = folder;
  if (binary != nullptr) location.binaryPath = binary;
  return location;
}

TEST(SameWindowsPath, IgnoresCaseSeparatorKindAndTrailingSeparators) {
  EXPECT_TRUE(sameWindowsPath("C:\\Program Files\\Ostrel\\", "c:/program files//OSTREL"));
  EXPECT_TRUE(sameWindowsPath("\\\\server\\share\\x", "//SERVER/share/x"));
  EXPECT_TRUE(sameWindowsPath("C:\\", "c:/"));
  EXPECT_FALSE(sameWindowsPath("C:\\Ostrel", "C:\\Ostrel2"));
  EXPECT_FALSE(sameWindowsPath("C:\\Ostrel", "D:\\Ostrel"));
  // Only the leading pair of a network path is two separators that matter.
  EXPECT_FALSE(sameWindowsPath("\\\\server\\share", "\\server\\share"));
}

TEST(FolderOf, TakesEitherSeparator) {
  EXPECT_EQ(folderOf("C:\\Ostrel\\app.vrmanifest"), "C:\\Ostrel");
  EXPECT_EQ(folderOf("/opt/ostrel/app.vrmanifest"), "/opt/ostrel");
  EXPECT_EQ(folderOf("app.vrmanifest"), "");
}

TEST(JudgeRegisteredPlace, RelativeBinaryUnderTheManifestFolderMatches) {
  const PlaceVerdict verdict =
      judgeRegisteredPlace({"c:\\games\\ostrel\\bin\\Ostrel.exe", "C:\\Games\\Ostrel"},
                           at("C:\\Games\\Ostrel", "bin\\Ostrel.exe"));
  EXPECT_EQ(verdict.match, PlaceMatch::Matches) << verdict.explanation;
}

TEST(JudgeRegisteredPlace, ABinaryElsewhereIsStaleAndNamesBothPlaces) {
  const PlaceVerdict verdict = judgeRegisteredPlace(
      {"D:\\Old\\Ostrel\\Ostrel.exe", "D:\\Old\\Ostrel"}, at("C:\\Games\\Ostrel", "Ostrel.exe"));
  EXPECT_EQ(verdict.match, PlaceMatch::Differs);
  EXPECT_NE(verdict.explanation.find("D:\\Old\\Ostrel\\Ostrel.exe"), std::string::npos);
  EXPECT_NE(verdict.explanation.find("C:\\Games\\Ostrel\\Ostrel.exe"), std::string::npos);
}

TEST(JudgeRegisteredPlace, AbsoluteBinaryIsComparedAsWritten) {
  EXPECT_EQ(judgeRegisteredPlace({"E:\\Tools\\Ostrel.exe", "E:\\Tools"},
                                 at("C:\\Games\\Ostrel", "E:/Tools/Ostrel.exe"))
                .match,
            PlaceMatch::Matches);
}

TEST(JudgeRegisteredPlace, WorkingDirectoryAloneCanShowAStaleRegistration) {
  EXPECT_EQ(judgeRegisteredPlace({"", "D:\\Old\\Ostrel"}, at("C:\\Games\\Ostrel", nullptr)).match,
            PlaceMatch::Differs);
  EXPECT_EQ(
      judgeRegisteredPlace({"", "c:\\games\\ostrel\\"}, at("C:\\Games\\Ostrel", nullptr)).match,
      PlaceMatch::Matches);
}

TEST(JudgeRegisteredPlace, NothingReportedIsUnknownNotCurrent) {
  EXPECT_EQ(judgeRegisteredPlace({"", ""}, at("C:\\Games\\Ostrel", "Ostrel.exe")).match,
            PlaceMatch::Unknown);
}

}  // namespace
}  // namespace ostrel::registration
