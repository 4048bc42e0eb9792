#include "ostrel/testing/AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constinit std::atomic<std::uint64_t> allocations{0};

void* countedAllocation(std::size_t size) noexcept {
  // malloc(0) may return null; operator new must not.
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) allocations.fetch_add(1, std::memory_order_relaxed);
  return block;
}

}  // namespace

std::uint64_t ostrel::testing::allocationCount() noexcept {
  return allocations.load(std::memory_order_relaxed);
}

// The throwing forms keep the standard contract of operator new: a failed
// allocation is reported with std::bad_alloc, never with a null pointer.
void* operator new(std::size_t size) {
  if (void* block = countedAllocation(size)) return block;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
  if (void* block = countedAllocation(size)) return block;
  throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return countedAllocation(size);
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
