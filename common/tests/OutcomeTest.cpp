#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ostrel/outcome/Outcome.h"

namespace ostrel::outcome {
namespace {

Outcome<int> half(int n) {
  if (n % 2 != 0) return Failure{"Odd", std::to_string(n) + " is odd", "pass an even number"};
  return n / 2;
}

TEST(Outcome, HoldsTheValueOrTheFailureNeverBoth) {
  const Outcome<int> good = half(8);
  ASSERT_TRUE(good.ok());
  EXPECT_TRUE(static_cast<bool>(good));
  EXPECT_EQ(good.value(), 4);
  EXPECT_EQ(good.valueOr(-1), 4);

  const Outcome<int> bad = half(7);
  ASSERT_FALSE(bad.ok());
  EXPECT_FALSE(static_cast<bool>(bad));
  EXPECT_EQ(bad.failure().code, "Odd");
  EXPECT_EQ(bad.failure().message, "7 is odd");
  EXPECT_EQ(bad.failure().advice, "pass an even number");
  EXPECT_EQ(bad.valueOr(-1), -1);
}

TEST(Outcome, MoveOnlyValuesAndFailuresMoveOut) {
  Outcome<std::unique_ptr<int>> owned = std::make_unique<int>(5);
  std::unique_ptr<int> taken = std::move(owned).value();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, 5);

  Outcome<std::unique_ptr<int>> refused = Failure{"Gone", "nothing there", ""};
  const Failure failure = std::move(refused).failure();
  EXPECT_EQ(failure.code, "Gone");
}

// A failure type that adds context keeps the Failure fields where callers
// read them.
struct WithContext : Failure {
  int attempts = 0;
};

TEST(Outcome, AFailureTypeThatAddsContext) {
  Outcome<std::string, WithContext> tried = WithContext{{"Busy", "still starting", ""}, 3};
  ASSERT_FALSE(tried.ok());
  EXPECT_EQ(tried.failure().code, "Busy");
  EXPECT_EQ(tried.failure().attempts, 3);

  Outcome<std::string, WithContext> text = std::string("served");
  EXPECT_EQ(text.value(), "served");
}

TEST(Outcome, NothingBackButPossiblyAFailure) {
  const Outcome<void> done;
  EXPECT_TRUE(done.ok());
  const Outcome<void> refused = Failure{"Refused", "the runtime said no", ""};
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.failure().message, "the runtime said no");
}

}  // namespace
}  // namespace ostrel::outcome
