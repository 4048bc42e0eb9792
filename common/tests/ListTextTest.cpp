#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrel/text/ListText.h"

namespace ostrel::text {
namespace {

TEST(JoinedList, PutsTheSeparatorBetweenItemsOnly) {
  EXPECT_EQ(joinedList({}), "");
  EXPECT_EQ(joinedList({"D:\\Old\\app.vrmanifest"}), "D:\\Old\\app.vrmanifest");
  EXPECT_EQ(joinedList({"a", "b", "c"}), "a, b, c");
  EXPECT_EQ(joinedList({"a", "", "c"}), "a, , c");  // an empty item keeps its place
  EXPECT_EQ(joinedList({"a", "b"}, " | "), "a | b");
}

}  // namespace
}  // namespace ostrel::text
