// The app_keys a manifest declares, read with the check's bounds: what other
// readers (the runtime registry) rely on to know which manifest serves a key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrel/steamvr/ManifestCheck.h"

namespace ostrel::steamvr {
namespace {

using Keys = std::vector<std::string>;

TEST(DeclaredAppKeys, ListsEveryStringKeyInFileOrder) {
  std::string problem = "left over";
  const auto keys = declaredAppKeys(
      R"({"applications":[{"app_key":"b.two"},{"app_key":7},{"name":"x"},"junk",)"
      R"({"app_key":"a.one","app_key":"a.one"}]})",
      problem);
  ASSERT_TRUE(keys) << problem;
  EXPECT_EQ(*keys, (Keys{"b.two", "a.one"}));
  EXPECT_TRUE(problem.empty());
  EXPECT_EQ(declaredAppKeys(R"({"applications":[]})", problem), Keys{});
}

TEST(DeclaredAppKeys, RefusesWhatTheRuntimeWouldSkip) {
  const struct {
    const char* name;
    std::string content;
    const char* says;
  } cases[] = {
      {"a BOM", "\xEF\xBB\xBF{\"applications\":[{\"app_key\":\"k\"}]}", "byte-order mark"},
      {"UTF-16", std::string("\xFF\xFE{\0}\0", 6), "UTF-16"},
      {"a NUL", std::string("{\"applications\":[]}\0", 20), "NUL"},
      {"bad UTF-8", "{\"applications\":[{\"app_key\":\"\xC3\x28\"}]}", "not valid UTF-8"},
      {"too deep", std::string(100, '[') + std::string(100, ']'), "nest deeper"},
      {"too large", std::string(kManifestSizeLimit + 1, ' '), "larger than"},
      {"bad JSON", "{\"applications\":[", "not valid JSON"},
      {"no list", "{\"apps\":[]}", "applications"},
      {"an array", "[{\"app_key\":\"k\"}]", "applications"},
      {"empty", "", "empty"},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_FALSE(declaredAppKeys(c.content, problem)) << c.name;
    EXPECT_NE(problem.find(c.says), std::string::npos) << c.name << ": " << problem;
  }
}

}  // namespace
}  // namespace ostrel::steamvr
