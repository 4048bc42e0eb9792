// ostrel.h on its own in a C++ translation unit: C linkage, no C++ type.
#include <type_traits>

#include "ostrel.h"

static_assert(std::is_same_v<decltype(&ostrel_startup_run), int (*)(ostrel_startup*)>);
static_assert(std::is_same_v<decltype(&ostrel_version), const char* (*)()>);
static_assert(OSTREL_STARTUP_ALREADY_REGISTERED == 0 && OSTREL_STARTUP_CANCELLED == 5);
static_assert(OSTREL_E_INVALID_ARGUMENT < 0 && OSTREL_E_OUT_OF_MEMORY < 0);
