// A manifest's bytes read with the check's rule, the one every reader shares:
// what other readers (the runtime registry, the command's status) rely on to
// know which applications a manifest declares, and why it cannot be read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/manifestcheck/ManifestReader.h"

namespace ostrel::manifestcheck {
namespace {

using Keys = std::vector<std::string>;

Keys keysOf(const ManifestContents& contents) {
  Keys keys;
  for (const ManifestApplication& application : contents.applications) {
    keys.push_back(application.appKey);
  }
  return keys;
}

TEST(ParseManifest, ListsEveryStringKeyInFileOrder) {
  const ManifestContents got =
      parseManifest(R"({"applications":[{"app_key":"b.two"},{"app_key":7},{"name":"x"},"junk",)"
                    R"({"app_key":"a.one","app_key":"a.one"}]})");
  ASSERT_EQ(got.failure, ManifestReadFailure::None) << got.error;
  EXPECT_EQ(keysOf(got), (Keys{"b.two", "a.one"}));
  EXPECT_TRUE(got.error.empty());
  const ManifestContents none = parseManifest(R"({"applications":[]})");
  EXPECT_EQ(none.failure, ManifestReadFailure::None);
  EXPECT_EQ(keysOf(none), Keys{});
}

// The runtime's reader skips comments, so a commented manifest declares its
// keys all the same.
TEST(ParseManifest, CommentsAreSkipped) {
  const ManifestContents got = parseManifest(
      "// Ostrel\n{\"applications\":[/* the one */{\"app_key\":\"vantorell.ostrel\"}]}");
  ASSERT_EQ(got.failure, ManifestReadFailure::None) << got.error;
  EXPECT_EQ(keysOf(got), Keys{"vantorell.ostrel"});
}

TEST(ParseManifest, RefusesWhatTheRuntimeWouldSkip) {
  const struct {
    const char* name;
    std::string content;
    ManifestReadFailure failure;
    const char* says;
  } cases[] = {
      {"a BOM", "\xEF\xBB\xBF{\"applications\":[{\"app_key\":\"k\"}]}",
       ManifestReadFailure::Refused, "byte-order mark"},
      {"UTF-16", std::string("\xFF\xFE{\0}\0", 6), ManifestReadFailure::NotJsonObject, "UTF-16"},
      {"a NUL", std::string("{\"applications\":[]}\0", 20), ManifestReadFailure::NotJsonObject,
       "NUL"},
      {"bad UTF-8", "{\"applications\":[{\"app_key\":\"\xC3\x28\"}]}",
       ManifestReadFailure::NotJsonObject, "not valid UTF-8"},
      {"too deep", std::string(100, '[') + std::string(100, ']'), ManifestReadFailure::Refused,
       "nest deeper"},
      {"too large", std::string(kManifestSizeLimit + 1, ' '), ManifestReadFailure::TooLarge,
       "larger than"},
      {"bad JSON", "{\"applications\":[", ManifestReadFailure::NotJsonObject, "not valid JSON"},
      {"trailing comma", "{\"applications\":[{\"app_key\":\"k\"},]}",
       ManifestReadFailure::NotJsonObject, "not valid JSON"},
      {"no list", "{\"apps\":[]}", ManifestReadFailure::NoApplications, "applications"},
      {"an array", "[{\"app_key\":\"k\"}]", ManifestReadFailure::NotJsonObject, "applications"},
      {"empty", "", ManifestReadFailure::NotJsonObject, "empty"},
  };
  for (const auto& c : cases) {
    const ManifestContents got = parseManifest(c.content);
    EXPECT_EQ(got.failure, c.failure) << c.name;
    EXPECT_TRUE(got.applications.empty()) << c.name;
    EXPECT_NE(got.error.find(c.says), std::string::npos) << c.name << ": " << got.error;
  }
}

}  // namespace
}  // namespace ostrel::manifestcheck
