// Test support: how many heap allocations a piece of code makes.
//
// Linking ostrel::allocation_counter replaces the global operator new and
// operator delete of the whole executable (shared libraries included) with
// forms that count and then use malloc and free. Over-aligned allocations
// keep the standard library's own functions and are not counted; nothing the
// project measures allocates over-aligned types.
#pragma once

#include <cstdint>

namespace ostrel::testing {

// Successful calls to the replaceable operator new, single and array, plain
// and nothrow, made by any thread since the program started.
std::uint64_t allocationCount() noexcept;

}  // namespace ostrel::testing
