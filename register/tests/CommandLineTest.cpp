#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLine.h"

namespace ostrel::registercli {
namespace {

ParseResult parse(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "ostrel-register");
  return parseCommandLine(arguments);
}

TEST(CommandLine, ReadsEveryOptionOfARegistration) {
  const ParseResult result =
      parse({"register", "--key", "vantorell.ostrel", "--manifest", "C:\\Ostrel\\app.vrmanifest",
             "--openvr", "loader.dll", "--force"});
  ASSERT_EQ(result.kind, ParseKind::Run) << result.text;
  EXPECT_EQ(result.commandLine.command, CommandKind::Register);
  EXPECT_EQ(result.commandLine.appKey, "vantorell.ostrel");
  EXPECT_EQ(result.commandLine.manifestPath, "C:\\Ostrel\\app.vrmanifest");
  EXPECT_EQ(result.commandLine.loaderPath, "loader.dll");
  EXPECT_TRUE(result.commandLine.force);
}

TEST(CommandLine, NamesEachCommandAsTyped) {
  for (CommandKind kind : {CommandKind::Register, CommandKind::Ensure, CommandKind::Unregister,
                           CommandKind::Status, CommandKind::Check, CommandKind::Repair}) {
    const ParseResult result = parse({commandName(kind), "--key", "k", "--manifest", "m"});
    ASSERT_EQ(result.kind, ParseKind::Run) << commandName(kind) << ": " << result.text;
    EXPECT_EQ(result.commandLine.command, kind);
    EXPECT_FALSE(result.commandLine.force);
    EXPECT_FALSE(result.commandLine.dryRun);
    EXPECT_FALSE(result.commandLine.json);
    EXPECT_TRUE(result.commandLine.loaderPath.empty());
  }
}

TEST(CommandLine, RepairTakesDryRunJsonForceAndALoader) {
  const ParseResult result = parse({"repair", "--key", "k", "--manifest", "m", "--openvr", "l",
                                    "--force", "--dry-run", "--json"});
  ASSERT_EQ(result.kind, ParseKind::Run) << result.text;
  EXPECT_EQ(result.commandLine.command, CommandKind::Repair);
  EXPECT_TRUE(result.commandLine.force);
  EXPECT_TRUE(result.commandLine.dryRun);
  EXPECT_TRUE(result.commandLine.json);
  EXPECT_EQ(result.commandLine.loaderPath, "l");
  for (const char* command : {"status", "check"}) {
    const ParseResult json = parse({command, "--key", "k", "--manifest", "m", "--json"});
    ASSERT_EQ(json.kind, ParseKind::Run) << json.text;
    EXPECT_TRUE(json.commandLine.json) << command;
  }
}

TEST(CommandLine, StatusNeedsNoManifest) {
  const ParseResult result = parse({"status", "--key", "k"});
  ASSERT_EQ(result.kind, ParseKind::Run) << result.text;
  EXPECT_FALSE(result.commandLine.manifestPath.has_value());
}

TEST(CommandLine, DoctorTakesNoKeyAndItsOwnOptions) {
  const ParseResult plain = parse({"doctor"});
  ASSERT_EQ(plain.kind, ParseKind::Run) << plain.text;
  EXPECT_EQ(plain.commandLine.command, CommandKind::Doctor);
  EXPECT_FALSE(plain.commandLine.removeDead);
  EXPECT_FALSE(plain.commandLine.dryRun);
  EXPECT_FALSE(plain.commandLine.manifestPath.has_value());
  const ParseResult all =
      parse({"doctor", "--remove-dead", "--dry-run", "--json", "--openvr", "l"});
  ASSERT_EQ(all.kind, ParseKind::Run) << all.text;
  EXPECT_TRUE(all.commandLine.removeDead);
  EXPECT_TRUE(all.commandLine.dryRun);
  EXPECT_TRUE(all.commandLine.json);
  EXPECT_EQ(all.commandLine.loaderPath, "l");
  EXPECT_STREQ(commandName(CommandKind::Doctor), "doctor");
}

TEST(CommandLine, OptionValuesKeepTheirBytes) {
  const std::string path = "C:\\Users\\Jos\xc3\xa9\\\xe5\xba\x94\xe7\x94\xa8 app.vrmanifest";
  const ParseResult result = parse({"check", "--key", "k", "--manifest=" + path});
  ASSERT_EQ(result.kind, ParseKind::Run) << result.text;
  EXPECT_EQ(*result.commandLine.manifestPath, path);
}

struct UsageCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* mentions;
};

class CommandLineUsageError : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CommandLineUsageError, IsRefusedWithAReason) {
  const ParseResult result = parse(GetParam().arguments);
  EXPECT_EQ(result.kind, ParseKind::UsageError);
  EXPECT_NE(result.text.find(GetParam().mentions), std::string::npos) << result.text;
  EXPECT_NE(result.text.find("--help"), std::string::npos) << result.text;
}

INSTANTIATE_TEST_SUITE_P(
    Refused, CommandLineUsageError,
    ::testing::Values(
        UsageCase{"NoCommand", {}, "subcommand"},
        UsageCase{"UnknownCommand", {"install", "--key", "k"}, "install"},
        UsageCase{"MissingKey", {"register", "--manifest", "m"}, "--key"},
        UsageCase{"EmptyKey", {"register", "--key", "", "--manifest", "m"}, "--key"},
        // Every verb refuses a key the runtime refuses, with the reason.
        UsageCase{"KeyWithAControlCharacter",
                  {"ensure", "--key", "vantorell\x1b.ostrel", "--manifest", "m"},
                  "'\\u001B' (U+001B) at position 10"},
        UsageCase{"KeyWithASpace", {"status", "--key", "vantorell ostrel"}, "--key: the application key"},
        UsageCase{"KeyTooLong", {"repair", "--key", std::string(128, 'k'), "--manifest", "m"},
                  "is 128 bytes long"},
        UsageCase{"KeyClimbingOut", {"unregister", "--key", "../k", "--manifest", "m"}, "'/'"},
        UsageCase{"KeyForCheck", {"check", "--key", "k\xC3\xA9", "--manifest", "m"}, "U+00E9"},
        UsageCase{"MissingManifest", {"ensure", "--key", "k"}, "--manifest"},
        UsageCase{"MissingValue", {"check", "--key", "k", "--manifest"}, "--manifest"},
        UsageCase{"CheckTakesNoLoader",
                  {"check", "--key", "k", "--manifest", "m", "--openvr", "x"},
                  "--openvr"},
        UsageCase{"StatusTakesNoForce", {"status", "--key", "k", "--force"}, "--force"},
        UsageCase{"RepairNeedsAManifest", {"repair", "--key", "k"}, "--manifest"},
        UsageCase{"OnlyRepairHasADryRun",
                  {"register", "--key", "k", "--manifest", "m", "--dry-run"},
                  "--dry-run"},
        UsageCase{"RegisterHasNoJson", {"register", "--key", "k", "--manifest", "m", "--json"},
                  "--json"},
        UsageCase{"DoctorTakesNoKey", {"doctor", "--key", "k"}, "--key"},
        UsageCase{"DoctorDryRunOnlyWithRemoval", {"doctor", "--dry-run"}, "--remove-dead"},
        UsageCase{"TwoCommands", {"check", "--key", "k", "--manifest", "m", "status"}, "status"},
        UsageCase{
            "StrayArgument", {"unregister", "--key", "k", "--manifest", "m", "extra"}, "extra"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return std::string(info.param.name); });

TEST(CommandLine, HelpIsNotAnError) {
  const ParseResult top = parse({"--help"});
  EXPECT_EQ(top.kind, ParseKind::Help);
  EXPECT_NE(top.text.find("unregister"), std::string::npos) << top.text;

  const ParseResult command = parse({"status", "--help"});
  EXPECT_EQ(command.kind, ParseKind::Help);
  EXPECT_NE(command.text.find("--openvr"), std::string::npos) << command.text;
  EXPECT_EQ(command.text.find("--force"), std::string::npos) << command.text;
}

TEST(CommandLine, VersionNeedsNoCommand) {
  const ParseResult result = parse({"--version"});
  ASSERT_EQ(result.kind, ParseKind::Version) << result.text;
  EXPECT_EQ(result.text, std::string("ostrel-register ") + OSTREL_EXPECTED_VERSION + "\n");
}

}  // namespace
}  // namespace ostrel::registercli
