#include <gtest/gtest.h>

#include <span>
#include <string>

#include "ostrel/registration/ManifestLocation.h"
#include "ostrel/registration/RegisteredPlace.h"
#include "ostrel/testing/HostPaths.h"

namespace ostrel::registration {
namespace {

using ostrel::testing::onHost;
using ostrel::testing::windowsHost;

ManifestLocation at(const std::string& folder, const char* binary) {
  ManifestLocation location;
  location.folder = folder;
  if (binary != nullptr) location.binaryPath = binary;
  return location;
}

TEST(SameRegisteredPath, FollowsThePathRulesOfThePlatformBuiltFor) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case windows[] = {
      {"C:\\Program Files\\Ostrel\\", "c:/program files//OSTREL", true},
      {"\\\\server\\share\\x", "//SERVER/share/x", true},
      {"C:\\", "c:/", true},
      {"C:\\Ostrel", "C:\\Ostrel2", false},
      {"C:\\Ostrel", "D:\\Ostrel", false},
      // Only the leading pair of a network path is two separators that matter.
      {"\\\\server\\share", "\\server\\share", false},
  };
  const Case posix[] = {
      {"/opt/Ostrel/", "/opt//Ostrel", true},
      {"/opt/ostrel/bin/../app", "/opt/ostrel/./app", true},
      {"/", "//", true},
      {"/opt/Ostrel", "/opt/ostrel", false},  // names are case-sensitive
      {"/opt/ostrel", "/opt/ostrel2", false},
      {"/opt\\ostrel", "/opt/ostrel", false},  // '\' is part of a name
  };
  for (const Case& c : windowsHost() ? std::span<const Case>(windows) : std::span<const Case>(posix)) {
    EXPECT_EQ(sameRegisteredPath(c.a, c.b), c.same) << c.a << " vs " << c.b;
  }
}

TEST(FolderOf, TakesThePlatformsSeparators) {
  EXPECT_EQ(folderOf("C:\\Ostrel\\app.vrmanifest"), onHost("C:\\Ostrel", ""));
  EXPECT_EQ(folderOf("/opt/ostrel/app.vrmanifest"), "/opt/ostrel");
  EXPECT_EQ(folderOf("app.vrmanifest"), "");
}

TEST(JudgeRegisteredPlace, RelativeBinaryUnderTheManifestFolderMatches) {
  const PlaceVerdict verdict =
      windowsHost() ? judgeRegisteredPlace({"c:\\games\\ostrel\\bin\\Ostrel.exe", "C:\\Games\\Ostrel"},
                                           at("C:\\Games\\Ostrel", "bin\\Ostrel.exe"))
                    : judgeRegisteredPlace({"/opt/ostrel/bin/ostrel", "/opt/ostrel"},
                                           at("/opt/ostrel", "bin/ostrel"));
  EXPECT_EQ(verdict.match, PlaceMatch::Matches) << verdict.explanation;
}

TEST(JudgeRegisteredPlace, ABinaryElsewhereIsStaleAndNamesBothPlaces) {
  const std::string oldBinary = onHost("D:\\Old\\Ostrel\\Ostrel.exe", "/opt/old/ostrel/ostrel");
  const std::string newBinary =
      onHost("C:\\Games\\Ostrel\\Ostrel.exe", "/home/me/Games/Ostrel/ostrel");
  const PlaceVerdict verdict = judgeRegisteredPlace(
      {oldBinary, onHost("D:\\Old\\Ostrel", "/opt/old/ostrel")},
      at(onHost("C:\\Games\\Ostrel", "/home/me/Games/Ostrel"), onHost("Ostrel.exe", "ostrel").c_str()));
  EXPECT_EQ(verdict.match, PlaceMatch::Differs);
  EXPECT_NE(verdict.explanation.find(oldBinary), std::string::npos);
  EXPECT_NE(verdict.explanation.find(newBinary), std::string::npos);
}

TEST(JudgeRegisteredPlace, AbsoluteBinaryIsComparedAsWritten) {
  EXPECT_EQ(judgeRegisteredPlace({onHost("E:\\Tools\\Ostrel.exe", "/opt/tools/ostrel"),
                                  onHost("E:\\Tools", "/opt/tools")},
                                 at(onHost("C:\\Games\\Ostrel", "/home/me/Games/Ostrel"),
                                    onHost("E:/Tools/Ostrel.exe", "/opt/tools/./ostrel").c_str()))
                .match,
            PlaceMatch::Matches);
}

TEST(JudgeRegisteredPlace, WorkingDirectoryAloneCanShowAStaleRegistration) {
  const std::string folder = onHost("C:\\Games\\Ostrel", "/home/me/Games/Ostrel");
  EXPECT_EQ(
      judgeRegisteredPlace({"", onHost("D:\\Old\\Ostrel", "/opt/old/ostrel")}, at(folder, nullptr))
          .match,
      PlaceMatch::Differs);
  EXPECT_EQ(judgeRegisteredPlace({"", onHost("c:\\games\\ostrel\\", "/home/me/Games/Ostrel/")},
                                 at(folder, nullptr))
                .match,
            PlaceMatch::Matches);
}

TEST(JudgeRegisteredPlace, NothingReportedIsUnknownNotCurrent) {
  EXPECT_EQ(judgeRegisteredPlace({"", ""}, at(onHost("C:\\Games\\Ostrel", "/home/me/Games/Ostrel"),
                                              onHost("Ostrel.exe", "ostrel").c_str()))
                .match,
            PlaceMatch::Unknown);
}

}  // namespace
}  // namespace ostrel::registration
