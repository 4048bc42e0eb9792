// One case per finding the content check makes, each starting from a
// well-formed manifest broken in one place, by the rules of SteamVR on
// Windows on every host (LinuxRulesTest.cpp has Linux's).
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

using nlohmann::json;
using testing::codes;
using testing::FakePathProbe;
using testing::firstApplication;
using testing::kKey;
using testing::validManifest;
using Codes = std::vector<std::string>;

class ManifestContentTest : public ::testing::Test {
 protected:
  std::vector<ManifestFinding> checkText(const std::string& content,
                                         const std::string& key = kKey) {
    return checkManifestContent(content,
                                {key, "C:/Apps/Ostrel", &probe_, RuntimeSystem::Windows});
  }
  std::vector<ManifestFinding> check(const json& manifest, const std::string& key = kKey) {
    return checkText(manifest.dump(2), key);
  }

  // The one finding a broken manifest must give.
  ManifestFinding only(const json& manifest) {
    const std::vector<ManifestFinding> findings = check(manifest);
    EXPECT_EQ(findings.size(), 1u) << ::testing::PrintToString(codes(findings));
    return findings.empty() ? ManifestFinding{} : findings.front();
  }

  // The one finding, which must be the error `code` with `says` in its message.
  ManifestFinding onlyError(const json& manifest, const std::string& code,
                            const std::string& says) {
    const ManifestFinding finding = only(manifest);
    EXPECT_EQ(finding.code, code);
    EXPECT_EQ(finding.severity, FindingSeverity::Error);
    EXPECT_NE(finding.message.find(says), std::string::npos) << finding.message;
    return finding;
  }

  FakePathProbe probe_;
};

TEST_F(ManifestContentTest, WellFormedManifestHasNoFinding) {
  EXPECT_TRUE(check(validManifest()).empty());
  EXPECT_EQ(probe_.asked_, (std::vector<std::string>{"C:/Apps/Ostrel/bin/ostrel.exe"}))
      << "the relative binary path resolves against the manifest's folder, '\\' as separator";
}

TEST_F(ManifestContentTest, ByteOrderMarkIsAnErrorAndTheRestIsStillChecked) {
  json manifest = validManifest();
  firstApplication(manifest)["is_dashboard_overlay"] = false;
  const auto findings = checkText("\xEF\xBB\xBF" + manifest.dump());
  EXPECT_EQ(codes(findings), (Codes{"bom", "dashboard-overlay"}));
  EXPECT_EQ(findings[0].severity, FindingSeverity::Error);
  EXPECT_NE(findings[0].message.find("without BOM"), std::string::npos) << findings[0].message;
}

TEST_F(ManifestContentTest, EncodingAndEmptinessStopTheCheck) {
  EXPECT_EQ(codes(checkText("\xFF\xFE{\0}\0")), (Codes{"utf16"}));
  EXPECT_EQ(codes(checkText("")), (Codes{"empty"}));
  EXPECT_EQ(codes(checkText(" \r\n\t ")), (Codes{"empty"}));
  EXPECT_EQ(codes(checkText("\xEF\xBB\xBF")), (Codes{"bom", "empty"}));
}

TEST_F(ManifestContentTest, SyntaxErrorNamesLineAndColumnInCharacters) {
  const auto findings =
      checkText("{\n  \"source\": \"builtin\",\n  \"applications\": [\"Ostrél\" 2]\n}");
  ASSERT_EQ(codes(findings), (Codes{"json-syntax"}));
  EXPECT_NE(findings[0].message.find("at line 3, column 29: syntax error while parsing array"),
            std::string::npos)
      << findings[0].message;
  EXPECT_EQ(findings[0].message.find("last read"), std::string::npos) << "no echo of the input";
}

TEST_F(ManifestContentTest, TopLevelMustBeAnObjectWithApplications) {
  EXPECT_EQ(only(json::array({validManifest()})).code, "not-object");

  json manifest = validManifest();
  manifest.erase("applications");
  manifest["application"] = json::array();
  const ManifestFinding missing = only(manifest);
  EXPECT_EQ(missing.code, "applications-missing");
  EXPECT_NE(missing.message.find("keys present: \"application\", \"source\""), std::string::npos)
      << missing.message;
}

TEST_F(ManifestContentTest, MissingKeyListsTheKeysPresent) {
  json manifest = validManifest();
  firstApplication(manifest)["app_key"] = "vantorell.ostrel.beta";
  manifest["applications"].push_back({{"app_key", "other.app"}});
  const ManifestFinding finding = onlyError(
      manifest, "app-key-missing", "app keys present: \"vantorell.ostrel.beta\", \"other.app\"");
  EXPECT_EQ(finding.message.find("letter case"), std::string::npos);
}

TEST_F(ManifestContentTest, KeyThatDiffersOnlyInCaseIsNamed) {
  const auto findings = check(validManifest(), "Vantorell.Ostrel");
  ASSERT_EQ(codes(findings), (Codes{"app-key-missing"}));
  EXPECT_NE(findings[0].message.find("\"vantorell.ostrel\" differs only in letter case"),
            std::string::npos)
      << findings[0].message;
}

TEST_F(ManifestContentTest, NoApplicationAtAll) {
  json manifest = validManifest();
  manifest["applications"] = json::array();
  const ManifestFinding finding = only(manifest);
  EXPECT_EQ(finding.code, "app-key-missing");
  EXPECT_NE(finding.message.find("lists no application"), std::string::npos) << finding.message;
}

TEST_F(ManifestContentTest, RepeatedKeysAreWarnings) {
  json manifest = validManifest();
  manifest["applications"].push_back({{"app_key", kKey}});
  EXPECT_EQ(only(manifest).code, "app-key-duplicate");

  const std::string twice =
      R"({"applications": [{"app_key": "x", "app_key": "vantorell.ostrel", "launch_type": "url",)"
      R"( "url": "https://example.org", "is_dashboard_overlay": true,)"
      R"( "strings": {"en_us": {"name": "Ostrel"}}}]})";
  const auto findings = checkText(twice);
  ASSERT_EQ(codes(findings), (Codes{"duplicate-key"}));
  EXPECT_NE(findings[0].message.find("\"app_key\" appears more than once in one object inside "
                                     "\"applications\""),
            std::string::npos)
      << findings[0].message;
}

TEST_F(ManifestContentTest, LaunchTypeFindings) {
  json manifest = validManifest();
  firstApplication(manifest).erase("launch_type");
  EXPECT_EQ(only(manifest).code, "launch-type-missing");

  firstApplication(manifest)["launch_type"] = "exe";
  const ManifestFinding unknown = only(manifest);
  EXPECT_EQ(unknown.code, "launch-type-unknown");
  EXPECT_EQ(unknown.severity, FindingSeverity::Error) << "the runtime skips the application";

  firstApplication(manifest)["launch_type"] = "url";
  firstApplication(manifest).erase("binary_path_windows");
  EXPECT_EQ(only(manifest).code, "url-missing");
}

TEST_F(ManifestContentTest, BinaryLaunchNeedsABinaryPath) {
  json manifest = validManifest();
  firstApplication(manifest).erase("binary_path_windows");
  EXPECT_EQ(only(manifest).code, "binary-path-missing");
  firstApplication(manifest)["binary_path_windows"] = "";
  EXPECT_EQ(only(manifest).code, "binary-path-missing");
}

TEST_F(ManifestContentTest, BinaryThatIsNotAFile) {
  probe_.fallback_ = PathKind::Missing;
  const ManifestFinding missing = only(validManifest());
  EXPECT_EQ(missing.code, "binary-missing");
  EXPECT_NE(missing.message.find("names no existing file"), std::string::npos) << missing.message;

  probe_.fallback_ = PathKind::Directory;
  const ManifestFinding folder = only(validManifest());
  EXPECT_EQ(folder.code, "binary-missing");
  EXPECT_NE(folder.message.find("names a folder"), std::string::npos) << folder.message;
}

TEST_F(ManifestContentTest, AbsoluteBinaryPathIsTakenAsItIs) {
  json manifest = validManifest();
  firstApplication(manifest)["binary_path_windows"] = "D:\\Tools\\ostrel.exe";
  EXPECT_TRUE(check(manifest).empty());
  EXPECT_EQ(probe_.asked_, (std::vector<std::string>{"D:/Tools/ostrel.exe"}));
}

TEST_F(ManifestContentTest, NoProbeMeansNoExistenceCheck) {
  json manifest = validManifest();
  EXPECT_TRUE(
      checkManifestContent(manifest.dump(), {kKey, "C:\\nowhere", nullptr, RuntimeSystem::Windows})
          .empty());
}

TEST_F(ManifestContentTest, DashboardOverlayMissingOrFalseIsAWarning) {
  json manifest = validManifest();
  firstApplication(manifest)["is_dashboard_overlay"] = false;
  const ManifestFinding off = only(manifest);
  EXPECT_EQ(off.code, "dashboard-overlay");
  EXPECT_EQ(off.severity, FindingSeverity::Warning);
  EXPECT_NE(off.message.find("auto-launch"), std::string::npos) << off.message;
  firstApplication(manifest).erase("is_dashboard_overlay");
  EXPECT_EQ(only(manifest).code, "dashboard-overlay");
}

// The member is a JSON boolean; "true" in quotes or 1 is a typing mistake
// that decides whether auto-launch applies, so it stops `register` as an
// error rather than passing as the milder missing-or-false warning.
TEST_F(ManifestContentTest, DashboardOverlayThatIsNotABooleanIsAWrongTypeError) {
  const json values[] = {
      "true", "false", "", 1, 0, 1.5, nullptr, json::array({true}), json{{"enabled", true}}};
  for (const json& value : values) {
    json manifest = validManifest();
    firstApplication(manifest)["is_dashboard_overlay"] = value;
    const std::vector<ManifestFinding> findings = check(manifest);
    ASSERT_EQ(codes(findings), (Codes{"wrong-type"})) << value.dump();
    EXPECT_EQ(findings[0].severity, FindingSeverity::Error) << value.dump();
    EXPECT_TRUE(hasErrors(findings)) << value.dump();
    EXPECT_EQ(findings[0].message.rfind("applications[0].is_dashboard_overlay is ", 0), 0u)
        << findings[0].message;
    EXPECT_NE(findings[0].message.find("true or false"), std::string::npos) << findings[0].message;
  }

  // As a person types it, quotes and all.
  const auto typed = checkText(R"({"applications": [{"app_key": "vantorell.ostrel",
      "launch_type": "binary", "binary_path_windows": "bin\\ostrel.exe",
      "is_dashboard_overlay": "true", "strings": {"en_us": {"name": "Ostrel"}}}]})");
  ASSERT_EQ(codes(typed), (Codes{"wrong-type"}));
  EXPECT_EQ(typed[0].severity, FindingSeverity::Error);
  EXPECT_NE(typed[0].message.find("is a string"), std::string::npos) << typed[0].message;
}

TEST_F(ManifestContentTest, NoNameUnderStrings) {
  json manifest = validManifest();
  firstApplication(manifest)["strings"]["en_us"].erase("name");
  EXPECT_EQ(only(manifest).code, "no-name");
  firstApplication(manifest)["strings"]["en_us"]["name"] = "";
  EXPECT_EQ(only(manifest).code, "no-name");
  firstApplication(manifest).erase("strings");
  EXPECT_EQ(only(manifest).code, "no-name");
  // Any language will do.
  firstApplication(manifest)["strings"] = {{"de_de", {{"name", "Ostrel"}}}};
  EXPECT_TRUE(check(manifest).empty());
}

TEST_F(ManifestContentTest, RiskyBinaryLocationsAreWarnings) {
  json manifest = validManifest();
  firstApplication(manifest)["binary_path_windows"] = "bin\\Ostrél.exe";
  const ManifestFinding accented = only(manifest);
  EXPECT_EQ(accented.code, "non-ascii-path");
  EXPECT_EQ(accented.severity, FindingSeverity::Warning);

  firstApplication(manifest)["binary_path_windows"] =
      "C:\\Program Files\\windowsapps\\Vantorell.Ostrel_1.0\\ostrel.exe";
  EXPECT_EQ(only(manifest).code, "windowsapps");
}

struct AppKeyCase {
  std::string key;
  std::vector<std::string> codes;  // all errors
  std::string message;             // part of the first finding's message; "" for none
};

void PrintTo(const AppKeyCase& c, std::ostream* out) { *out << ::testing::PrintToString(c.key); }

class AppKeyText : public ManifestContentTest, public ::testing::WithParamInterface<AppKeyCase> {};

TEST_P(AppKeyText, IsJudgedByTheRuntimesRules) {
  json manifest = validManifest();
  firstApplication(manifest)["app_key"] = GetParam().key;
  const auto findings = check(manifest, GetParam().key);
  EXPECT_EQ(codes(findings), GetParam().codes);
  for (const ManifestFinding& finding : findings) {
    EXPECT_EQ(finding.severity, FindingSeverity::Error) << formatFinding(finding);
  }
  if (!GetParam().message.empty() && !findings.empty()) {
    EXPECT_NE(findings[0].message.find(GetParam().message), std::string::npos)
        << findings[0].message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AppKeyText,
    ::testing::Values(
        AppKeyCase{"Vantorell.Ostrel-2_beta", {}, ""},  // upper case is legal
        AppKeyCase{std::string(127, 'k'), {}, ""},
        AppKeyCase{std::string(128, 'k'), {"app-key-too-long"}, "is 128 bytes long"},
        AppKeyCase{"vantorell ostrel",
                   {"app-key-invalid"},
                   "applications[0].app_key \"vantorell ostrel\" has ' ' (U+0020) at position 10"},
        AppKeyCase{"ostrel(beta)", {"app-key-invalid"}, "'(' (U+0028) at position 7"},
        AppKeyCase{"ostr\xC3\xA9l", {"app-key-invalid"}, "'\xC3\xA9' (U+00E9) at position 5"},
        AppKeyCase{"a\xF0\x9F\x98\x80", {"app-key-invalid"}, "(U+1F600) at position 2"},
        AppKeyCase{"tab\tkey", {"app-key-invalid"}, "'\\t' (U+0009) at position 4"},
        AppKeyCase{"", {"app-key-invalid"}, "applications[0].app_key is empty"},
        AppKeyCase{std::string(130, 'k') + "/",
                   {"app-key-invalid", "app-key-too-long"},
                   "'/' (U+002F) at position 131"}));

TEST_F(ManifestContentTest, RefusedKeyOfTheProgramIsNamedWhenTheManifestLacksIt) {
  const auto findings = check(validManifest(), "vantorell ostrel");
  ASSERT_EQ(codes(findings), (Codes{"app-key-missing", "app-key-invalid"}));
  EXPECT_EQ(
      findings[1].message.rfind("the key the program registers under \"vantorell ostrel\"", 0), 0u)
      << findings[1].message;
  const std::string bad = "vantorell.\xFF";
  EXPECT_NE(check(validManifest(), bad)[1].message.find("the byte 0xFF (not UTF-8) at position 11"),
            std::string::npos);
}

TEST_F(ManifestContentTest, LaunchTypeUnknownSaysWhatTheRuntimeStarts) {
  json manifest = validManifest();
  firstApplication(manifest)["launch_type"] = "Binary";
  onlyError(manifest, "launch-type-unknown",
            "\"Binary\"; the runtime starts \"binary\" and \"url\"");
}

TEST_F(ManifestContentTest, BinaryOnlyForOtherSystemsIsNamed) {
  json manifest = validManifest();
  firstApplication(manifest).erase("binary_path_windows");
  firstApplication(manifest)["binary_path_linux"] = "bin/ostrel";
  const ManifestFinding finding = only(manifest);
  EXPECT_EQ(finding.code, "binary-path-missing");
  EXPECT_NE(finding.message.find("only for other systems: \"binary_path_linux\""),
            std::string::npos)
      << finding.message;
}

struct PathCase {
  const char* key;
  const char* value;
  bool driveRooted;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.key << " " << c.value; }

class RelativePath : public ManifestContentTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(RelativePath, OnlyASingleLeadingSeparatorIsDriveRooted) {
  json manifest = validManifest();
  firstApplication(manifest)[GetParam().key] = GetParam().value;
  const auto findings = check(manifest);
  if (!GetParam().driveRooted) {
    EXPECT_TRUE(findings.empty()) << ::testing::PrintToString(codes(findings));
    return;
  }
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings[0].code, "path-drive-rooted");
  EXPECT_EQ(findings[0].severity, FindingSeverity::Warning);
  const std::string field = std::string("applications[0].") + GetParam().key + " \"";
  EXPECT_EQ(findings[0].message.rfind(field + GetParam().value + "\" starts with a single", 0), 0u)
      << findings[0].message;
  EXPECT_FALSE(hasErrors(findings)) << "the binary is found, so the warning is all";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RelativePath,
    ::testing::Values(PathCase{"binary_path_windows", "../../bin/win64/ostrel.exe", false},
                      PathCase{"binary_path_windows", "./ostrel.exe", false},
                      PathCase{"binary_path_windows", "bin/ostrel.exe", false},
                      PathCase{"binary_path_windows", "\\\\server\\share\\o.exe", false},
                      PathCase{"binary_path_windows", "//server/share/o.exe", false},
                      PathCase{"binary_path_windows", "\\bin\\ostrel.exe", true},
                      PathCase{"binary_path_windows", "/bin/ostrel.exe", true},
                      PathCase{"image_path", "./ostrel.png", false},
                      PathCase{"image_path", "/ostrel.png", true},
                      PathCase{"action_manifest_path", "../input/actions.json", false},
                      PathCase{"action_manifest_path", "C:\\Ostrel\\actions.json", false},
                      PathCase{"action_manifest_path", "\\Bindings\\actions.json", true},
                      PathCase{"action_manifest_path", "\\", true}));

TEST_F(ManifestContentTest, CommentsAreAcceptedAsTheRuntimeAcceptsThem) {
  const std::string commented =
      "// Ostrel's manifest [generated]\n/* { \"x\": [ */\r" + validManifest().dump(2) + "\n// end";
  EXPECT_EQ(codes(checkText(commented)), Codes{});
  json manifest = validManifest();
  std::string inside = manifest.dump(2);
  inside.insert(inside.find("\"applications\""), "/* the one application */ ");
  EXPECT_EQ(codes(checkText(inside)), Codes{});
}

TEST_F(ManifestContentTest, TrailingCommaAndBrokenCommentsAreSyntaxErrors) {
  EXPECT_EQ(codes(checkText("{\"applications\": [{\"app_key\": \"vantorell.ostrel\"},]}")),
            Codes{"json-syntax"});
  EXPECT_EQ(codes(checkText("/* never closed " + validManifest().dump())), Codes{"json-syntax"});
  EXPECT_EQ(codes(checkText("# not a comment\n" + validManifest().dump())), Codes{"json-syntax"});
  EXPECT_EQ(codes(checkText("/ " + validManifest().dump())), Codes{"json-syntax"});
}

TEST_F(ManifestContentTest, OnlyTheApplicationWithTheKeyIsCheckedInDepth) {
  json manifest = validManifest();
  manifest["applications"].insert(manifest["applications"].begin(),
                                  json{{"app_key", "other.app"}, {"launch_type", "binary"}});
  EXPECT_TRUE(check(manifest).empty());
}

}  // namespace
}  // namespace ostrel::manifestcheck
