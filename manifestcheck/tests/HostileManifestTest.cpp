// Input meant to break the check: wrong types everywhere, sizes and depths
// beyond reason, bytes that are not text. Each must give findings, quickly,
// and never a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

using nlohmann::json;
using testing::codes;
using testing::kKey;
using testing::validManifest;
using Codes = std::vector<std::string>;

std::vector<ManifestFinding> check(std::string_view content) {
  return checkManifestContent(content, {kKey, "C:/Apps/Ostrel", nullptr, RuntimeSystem::Windows});
}

struct WrongTypeCase {
  const char* pointer;  // where validManifest() gets the wrong value
  json value;
  const char* message;  // how the finding starts
};

void PrintTo(const WrongTypeCase& c, std::ostream* out) { *out << c.pointer; }

class WrongType : public ::testing::TestWithParam<WrongTypeCase> {};

TEST_P(WrongType, IsOneErrorThatNamesTheKey) {
  json manifest = validManifest();
  manifest[json::json_pointer(GetParam().pointer)] = GetParam().value;
  const auto findings = check(manifest.dump());
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings[0].code, "wrong-type");
  EXPECT_EQ(findings[0].severity, FindingSeverity::Error);
  EXPECT_EQ(findings[0].message.rfind(GetParam().message, 0), 0u) << findings[0].message;
  const std::vector<std::string> found = codes(findings);
  EXPECT_EQ(std::count(found.begin(), found.end(), "wrong-type"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKey, WrongType,
    ::testing::Values(
        WrongTypeCase{"/source", 1, "source is a number"},
        WrongTypeCase{"/applications", json::object(), "applications is an object"},
        WrongTypeCase{"/applications/0", "x", "applications[0] is a string"},
        WrongTypeCase{"/applications/0/app_key", 7, "applications[0].app_key is a number"},
        WrongTypeCase{"/applications/0/launch_type", true, "applications[0].launch_type is true"},
        WrongTypeCase{"/applications/0/binary_path_windows", json::array({"a"}),
                      "applications[0].binary_path_windows is an array"},
        WrongTypeCase{"/applications/0/is_dashboard_overlay", "true",
                      "applications[0].is_dashboard_overlay is a string; it must be true or false"},
        WrongTypeCase{"/applications/0/strings", "Ostrel", "applications[0].strings is a string"},
        WrongTypeCase{"/applications/0/strings/en_us", 1,
                      "applications[0].strings.en_us is a number"},
        WrongTypeCase{"/applications/0/strings/en_us/name", nullptr,
                      "applications[0].strings.en_us.name is null"},
        WrongTypeCase{"/applications/0/strings/en_us/description", 2.5,
                      "applications[0].strings.en_us.description is a number"},
        WrongTypeCase{"/applications/0/arguments", json::array(), "applications[0].arguments"},
        WrongTypeCase{"/applications/0/url", false, "applications[0].url is false"},
        WrongTypeCase{"/applications/0/image_path", 0, "applications[0].image_path"},
        WrongTypeCase{"/applications/0/action_manifest_path", 0,
                      "applications[0].action_manifest_path"},
        WrongTypeCase{"/applications/0/binary_path_linux", 0, "applications[0].binary_path_linux"},
        WrongTypeCase{"/applications/0/binary_path_osx", 0, "applications[0].binary_path_osx"}),
    [](const ::testing::TestParamInfo<WrongTypeCase>& info) {
      std::string name(info.param.pointer + 1);
      std::replace(name.begin(), name.end(), '/', '_');
      return name;
    });

TEST(HostileManifest, NestingIsBoundedBeforeParsing) {
  const std::string atLimit =
      std::string(kManifestDepthLimit, '[') + std::string(kManifestDepthLimit, ']');
  EXPECT_EQ(codes(check(atLimit)), (Codes{"not-object"}));

  const std::string over = "\n" + std::string(kManifestDepthLimit + 1, '[');
  const auto findings = check(over);
  ASSERT_EQ(codes(findings), (Codes{"too-deep"}));
  EXPECT_NE(findings[0].message.find("at line 2, column 65"), std::string::npos)
      << findings[0].message;

  std::string veryDeep;
  for (int i = 0; i < 200000; ++i) veryDeep += "{\"a\":";
  EXPECT_EQ(codes(check(veryDeep)), (Codes{"too-deep"}));
}

TEST(HostileManifest, BracketsInsideStringsDoNotCount) {
  const std::string brackets = "\\\"" + std::string(200, '[') + "{";
  EXPECT_EQ(codes(check("{\"applications\": \"" + brackets + "\"}")), (Codes{"wrong-type"}));
}

TEST(HostileManifest, SizeIsCappedAtTheLimit) {
  std::string atLimit = validManifest().dump();
  atLimit.resize(kManifestSizeLimit, ' ');
  EXPECT_TRUE(check(atLimit).empty());
  const auto findings = check(atLimit + " ");
  ASSERT_EQ(codes(findings), (Codes{"file-too-large"}));
  EXPECT_NE(findings[0].message.find("1048576 bytes"), std::string::npos) << findings[0].message;
}

TEST(HostileManifest, NulBytesAndBrokenUtf8AreLocated) {
  using namespace std::string_literals;
  const auto nul = check("{\"a\"\0}"s);
  ASSERT_EQ(codes(nul), (Codes{"nul-byte"}));
  EXPECT_NE(nul[0].message.find("line 1, column 5"), std::string::npos) << nul[0].message;
  EXPECT_NE(check("{\0\"\0a\0"s)[0].message.find("looks UTF-16"), std::string::npos);

  const auto broken = check("{\n  \"x\": \"\xC3\x28\"}");
  ASSERT_EQ(codes(broken), (Codes{"invalid-utf8"}));
  EXPECT_NE(broken[0].message.find("byte 0xC3 at line 2, column 9"), std::string::npos)
      << broken[0].message;
}

TEST(HostileManifest, ValuesThatJsonCannotHold) {
  EXPECT_EQ(codes(check("{\"applications\": [1e999]}")), (Codes{"json-number"}));
  EXPECT_EQ(codes(check("{\"a\": \"\\ud800\"}")), (Codes{"json-syntax"}));
}

TEST(HostileManifest, TextFromTheFileIsEscapedAndShortened) {
  const std::string key = "\x07" + std::string(500, 'k') + "\n";
  json manifest = validManifest();
  manifest["applications"][0]["app_key"] = key;
  const auto findings = check(manifest.dump());
  ASSERT_EQ(codes(findings), (Codes{"app-key-missing"}));
  const std::string& message = findings[0].message;
  EXPECT_NE(message.find("\"\\u0007kkk"), std::string::npos) << message;
  EXPECT_NE(message.find("k...\""), std::string::npos) << message;
  EXPECT_LT(message.size(), 400u);
  EXPECT_TRUE(std::none_of(message.begin(), message.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
}

TEST(HostileManifest, ThousandsOfBrokenEntriesGiveABoundedList) {
  json manifest = validManifest();
  manifest["applications"] = json::array();
  for (int i = 0; i < 100000; ++i) manifest["applications"].push_back(i);
  const auto findings = check(manifest.dump());
  ASSERT_EQ(findings.size(), kMaxFindings);
  EXPECT_EQ(findings.back().code, "more-findings");
  EXPECT_EQ(findings.back().severity, FindingSeverity::Error);
  // 100000 wrong-type entries and the missing key, 31 of them shown.
  EXPECT_EQ(findings.back().message.rfind("99970 further findings left out", 0), 0u)
      << findings.back().message;
}

}  // namespace
}  // namespace ostrel::manifestcheck
