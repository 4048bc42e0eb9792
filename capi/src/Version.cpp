// The version query and the one way to free what the library hands out.
#include <cstdlib>

#include "ostrel.h"

extern "C" {

OSTREL_API const char* OSTREL_CALL ostrel_version(void) { return OSTREL_LIBRARY_VERSION; }

// Text handed out comes from malloc (Boundary.cpp), so the caller never needs
// to know which C runtime the library was linked with.
OSTREL_API void OSTREL_CALL ostrel_free(void* text) { std::free(text); }

}  // extern "C"
