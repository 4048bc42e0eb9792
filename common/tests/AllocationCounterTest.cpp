#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "ostrel/testing/AllocationCounter.h"

namespace ostrel::testing {
namespace {

// Where each block is published, so the compiler cannot drop an allocation
// whose pointer never escapes.
void* volatile escaped = nullptr;

// Sizes read at run time, for the same reason.
volatile std::size_t smallSize = 8;
volatile std::size_t largeSize = 4096;

TEST(AllocationCounter, CountsEveryReplaceableForm) {
  const std::uint64_t start = allocationCount();

  int* single = new int(7);
  escaped = single;
  EXPECT_EQ(allocationCount() - start, 1u);

  char* array = new char[largeSize];
  escaped = array;
  EXPECT_EQ(allocationCount() - start, 2u);

  int* quiet = new (std::nothrow) int(8);
  escaped = quiet;
  ASSERT_NE(quiet, nullptr);
  EXPECT_EQ(allocationCount() - start, 3u);

  char* quietArray = new (std::nothrow) char[smallSize];
  escaped = quietArray;
  ASSERT_NE(quietArray, nullptr);
  EXPECT_EQ(allocationCount() - start, 4u);

  delete single;
  delete[] array;
  delete quiet;
  delete[] quietArray;
  // Releasing is not an allocation.
  EXPECT_EQ(allocationCount() - start, 4u);
}

TEST(AllocationCounter, SeesTheStandardLibrarysAllocations) {
  const std::uint64_t start = allocationCount();
  std::string text(largeSize, 'x');  // beyond any small-string buffer
  escaped = text.data();
  EXPECT_EQ(allocationCount() - start, 1u);

  std::vector<int> numbers;
  numbers.reserve(smallSize);
  escaped = numbers.data();
  EXPECT_EQ(allocationCount() - start, 2u);

  auto shared = std::make_shared<int>(3);  // object and count in one block
  escaped = shared.get();
  EXPECT_EQ(allocationCount() - start, 3u);
}

TEST(AllocationCounter, ZeroSizedRequestsStillGetDistinctBlocks) {
  const std::uint64_t start = allocationCount();
  char* first = new char[smallSize - smallSize];
  char* second = new char[smallSize - smallSize];
  escaped = first;
  escaped = second;
  EXPECT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(allocationCount() - start, 2u);
  delete[] first;
  delete[] second;
}

}  // namespace
}  // namespace ostrel::testing
