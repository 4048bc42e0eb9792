/* ostrel.h on its own in a C11 translation unit. */
#include "ostrel.h"

/* Every declaration is a prototype with the calling convention the
 * library was built with. */
static void OSTREL_CALL ignore_line(int level, const char* message, void* user) {
  (void)level;
  (void)message;
  (void)user;
}

int ostrel_header_as_c(void);
int ostrel_header_as_c(void) {
  ostrel_log_callback callback = ignore_line;
  int(OSTREL_CALL * run)(ostrel_startup*) = ostrel_startup_run;
  return callback != 0 && run != 0 ? OSTREL_OK : OSTREL_E_INTERNAL;
}
