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

TEST(ShortenedList, ListsTheFirstItemsAndCountsTheRest) {
  EXPECT_EQ(shortenedList({}, 2), "");
  EXPECT_EQ(shortenedList({"a", "b"}, 2), "a, b");
  EXPECT_EQ(shortenedList({"a", "b", "c", "d"}, 2), "a, b and 2 more");
  EXPECT_EQ(shortenedList({"a"}, 0), " and 1 more");
}

}  // namespace
}  // namespace ostrel::text
