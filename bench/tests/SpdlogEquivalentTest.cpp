#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "MessageShapes.h"
#include "SpdlogEquivalent.h"
#include "StandardErrorRedirect.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/testing/ScratchFolder.h"

namespace ostrel::bench {
namespace {

using ostrel::testing::ScratchFolder;

struct Line {
  std::string level;
  std::string message;
};

// Splits "[HH:MM:SS.mmm] [level] message" lines; a line of any other layout
// fails the test.
std::vector<Line> parseLines(const std::string& text) {
  static const std::regex layout(R"(\[\d\d:\d\d:\d\d\.\d{3}\] \[([A-Za-z]+)\] (.*))");
  std::vector<Line> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::smatch match;
    EXPECT_TRUE(std::regex_match(line, match, layout)) << "unexpected layout: " << line;
    if (!match.empty()) lines.push_back({match[1], match[2]});
  }
  return lines;
}

TEST(SpdlogEquivalent, WritesTheConsoleLoggersLinesWithALowerCaseLevel) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const std::string file = (folder.path() / "lines").string();
  {
    const StandardErrorRedirect capture(file.c_str());
    ASSERT_TRUE(capture.ok()) << capture.error();
    const auto spdlogLogger = makeSpdlogConsoleEquivalent();
    consoleText();
    spdlogText(*spdlogLogger);
    consoleTextIntText();
    spdlogTextIntText(*spdlogLogger);
    consoleTextString();
    spdlogTextString(*spdlogLogger);
    // Both drop below info.
    common::logMessage(common::LogLevel::Debug, "dropped");
    spdlogLogger->debug("dropped");
  }
  const std::string text = folder.read("lines");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');

  const std::vector<Line> lines = parseLines(text);
  ASSERT_EQ(lines.size(), 6u) << text;
  EXPECT_EQ(lines[0].message, "polling for manifest install");
  EXPECT_EQ(lines[2].message, "manifest ready after 300ms");
  EXPECT_EQ(lines[4].message, "manifest registered + auto-launch enabled: vantorell.ostrel");
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    EXPECT_EQ(lines[i].level, "INFO");
    EXPECT_EQ(lines[i + 1].level, "info");
    EXPECT_EQ(lines[i + 1].message, lines[i].message);
  }
}

}  // namespace
}  // namespace ostrel::bench
