/* A C program that uses every function of ostrel.h, compiled as C. The test
 * scripts run it once per step against the stand-in loader and check what it
 * prints and its exit status.
 *
 *   ostrel_c_client version
 *   ostrel_c_client bad-arguments
 *   ostrel_c_client code-names
 *   ostrel_c_client startup KEY MANIFEST LOADER     exit: the outcome
 *   ostrel_c_client cancel KEY MANIFEST LOADER      exit: the outcome
 *   ostrel_c_client async KEY MANIFEST LOADER       exit: the outcome
 *   ostrel_c_client register|ensure|unregister KEY MANIFEST LOADER
 *   ostrel_c_client status|check|repair|doctor KEY MANIFEST LOADER   (doctor: KEY unused)
 *   ostrel_c_client bad-keys KEY MANIFEST LOADER    (KEY unused: refused ones are tried)
 *   ostrel_c_client status-times-N KEY MANIFEST LOADER   status asked N times
 *
 * MANIFEST "-" is NULL. Log lines arrive through the log callback and are
 * written to standard error as "log <level>: <message>". */
/* nanosleep and pthreads under strict C11. */
#if !defined(_WIN32)
#define _POSIX_C_SOURCE 200809L
#endif

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "ostrel.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#include <time.h>
#endif

static int failures = 0;

#define EXPECT(condition)                                             \
  do {                                                                \
    if (!(condition)) {                                               \
      fprintf(stderr, "FAIL: %s at line %d\n", #condition, __LINE__); \
      ++failures;                                                     \
    }                                                                 \
  } while (0)

static void OSTREL_CALL on_log(int level, const char* message, void* user) {
  int* count = (int*)user;
  ++*count;
  fprintf(stderr, "log %d: %s\n", level, message);
}

static const char* optional_text(const char* argument) {
  return strcmp(argument, "-") == 0 ? NULL : argument;
}

static int check_version(void) {
  char expected[64];
  snprintf(expected, sizeof expected, "%d.%d.%d", OSTREL_VERSION_MAJOR, OSTREL_VERSION_MINOR,
           OSTREL_VERSION_PATCH);
  EXPECT(ostrel_version() != NULL);
  EXPECT(strcmp(ostrel_version(), expected) == 0);
  printf("%s\n", ostrel_version());
  return failures == 0 ? 0 : 1;
}

/* Every number the header defines, named as the header spells it; a
 * failure named alike in every set. */
struct named_code {
  int set;
  int code;
  const char* name;
};

#define NAMED(set, code) {set, code, #code}

static int check_code_names(void) {
  static const struct named_code codes[] = {
      NAMED(OSTREL_CODES_PLAIN, OSTREL_OK),
      NAMED(OSTREL_CODES_STARTUP, OSTREL_STARTUP_ALREADY_REGISTERED),
      NAMED(OSTREL_CODES_STARTUP, OSTREL_STARTUP_REGISTERED),
      NAMED(OSTREL_CODES_STARTUP, OSTREL_STARTUP_REPAIRED),
      NAMED(OSTREL_CODES_STARTUP, OSTREL_STARTUP_UNREACHABLE),
      NAMED(OSTREL_CODES_STARTUP, OSTREL_STARTUP_FAILED),
      NAMED(OSTREL_CODES_STARTUP, OSTREL_STARTUP_CANCELLED),
      NAMED(OSTREL_CODES_RESULT, OSTREL_RESULT_SUCCESS),
      NAMED(OSTREL_CODES_RESULT, OSTREL_RESULT_ADD_FAILED),
      NAMED(OSTREL_CODES_RESULT, OSTREL_RESULT_POLL_TIMEOUT),
      NAMED(OSTREL_CODES_RESULT, OSTREL_RESULT_AUTO_LAUNCH_FAILED),
      NAMED(OSTREL_CODES_RESULT, OSTREL_RESULT_REMOVE_FAILED),
      NAMED(OSTREL_CODES_RESULT, OSTREL_RESULT_UNREACHABLE),
      NAMED(OSTREL_CODES_STATE, OSTREL_STATE_REGISTERED),
      NAMED(OSTREL_CODES_STATE, OSTREL_STATE_STALE),
      NAMED(OSTREL_CODES_STATE, OSTREL_STATE_NOT_REGISTERED),
      NAMED(OSTREL_CODES_STATE, OSTREL_STATE_UNKNOWN),
      NAMED(OSTREL_CODES_CHECK, OSTREL_CHECK_CLEAN),
      NAMED(OSTREL_CODES_CHECK, OSTREL_CHECK_ERRORS),
      NAMED(OSTREL_CODES_REPAIR, OSTREL_REPAIR_DONE),
      NAMED(OSTREL_CODES_REPAIR, OSTREL_REPAIR_CHECK_FAILED),
      NAMED(OSTREL_CODES_REPAIR, OSTREL_REPAIR_UNREACHABLE),
      NAMED(OSTREL_CODES_REPAIR, OSTREL_REPAIR_REMOVAL_REFUSED),
      NAMED(OSTREL_CODES_REPAIR, OSTREL_REPAIR_REGISTRATION_FAILED),
      NAMED(OSTREL_CODES_DOCTOR, OSTREL_DOCTOR_CLEAN),
      NAMED(OSTREL_CODES_DOCTOR, OSTREL_DOCTOR_PROBLEMS),
      NAMED(OSTREL_CODES_DOCTOR, OSTREL_DOCTOR_UNREADABLE),
  };
  static const struct named_code failures_[] = {
      NAMED(0, OSTREL_E_INVALID_ARGUMENT),
      NAMED(0, OSTREL_E_OUT_OF_MEMORY),
      NAMED(0, OSTREL_E_INVALID_STATE),
      NAMED(0, OSTREL_E_INTERNAL),
  };
  size_t i;
  int set;
  for (i = 0; i < sizeof codes / sizeof codes[0]; ++i) {
    const char* name = ostrel_code_name(codes[i].set, codes[i].code);
    if (strcmp(name, codes[i].name) != 0) {
      printf("set %d, code %d: %s, expected %s\n", codes[i].set, codes[i].code, name,
             codes[i].name);
      ++failures;
    }
  }
  for (set = OSTREL_CODES_PLAIN; set <= OSTREL_CODES_DOCTOR; ++set) {
    for (i = 0; i < sizeof failures_ / sizeof failures_[0]; ++i) {
      EXPECT(strcmp(ostrel_code_name(set, failures_[i].code), failures_[i].name) == 0);
    }
    /* Past each set's last member, and a set that does not exist. */
    EXPECT(strcmp(ostrel_code_name(set, 6), "OSTREL_UNKNOWN_CODE") == 0);
    EXPECT(strcmp(ostrel_code_name(set, -5), "OSTREL_UNKNOWN_CODE") == 0);
  }
  EXPECT(strcmp(ostrel_code_name(42, 0), "OSTREL_UNKNOWN_CODE") == 0);
  if (failures == 0) printf("every code named\n");
  return failures == 0 ? 0 : 1;
}

static int check_bad_arguments(void) {
  /* 0xC3 starts a two-byte sequence that 0x28 does not continue. */
  const char bad_utf8[] = {'v', (char)0xC3, (char)0x28, 0};
  const char* key = "vantorell.ostrel";
  const char* manifest = "C:\\Games\\Ostrel\\app.vrmanifest";
  ostrel_startup* s = (ostrel_startup*)&failures; /* must be overwritten */
  char* text = (char*)&failures;
  char* long_path = (char*)malloc(OSTREL_MAX_TEXT_BYTES + 1);
  if (long_path == NULL) return 2;
  memset(long_path, 'a', OSTREL_MAX_TEXT_BYTES);
  long_path[OSTREL_MAX_TEXT_BYTES] = '\0';

  EXPECT(ostrel_startup_create(NULL, manifest, NULL, &s) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(s == NULL);
  EXPECT(ostrel_startup_create(key, manifest, NULL, NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_create(bad_utf8, manifest, NULL, &s) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_create(key, bad_utf8, NULL, &s) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_create(key, manifest, bad_utf8, &s) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_create(key, long_path, NULL, &s) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(s == NULL);
  /* An empty path is refused, not taken for the default. */
  EXPECT(ostrel_startup_create(key, "", NULL, &s) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_create(key, manifest, "", &s) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(s == NULL);
  /* One byte shorter is accepted. */
  long_path[OSTREL_MAX_TEXT_BYTES - 1] = '\0';
  EXPECT(ostrel_startup_create(key, long_path, NULL, &s) == OSTREL_OK);
  EXPECT(s != NULL);
  EXPECT(ostrel_startup_message(s) != NULL && strcmp(ostrel_startup_message(s), "") == 0);
  /* Cancelled first: the run does nothing and says so. */
  ostrel_startup_cancel(s);
  EXPECT(ostrel_startup_run(s) == OSTREL_STARTUP_CANCELLED);
  EXPECT(strlen(ostrel_startup_message(s)) > 0);
  EXPECT(ostrel_startup_run(s) == OSTREL_E_INVALID_STATE);
  ostrel_startup_destroy(s);
  long_path[OSTREL_MAX_TEXT_BYTES - 1] = 'a';

  EXPECT(ostrel_startup_run(NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_start(NULL, NULL, NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_wait(NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_startup_message(NULL) == NULL);
  ostrel_startup_cancel(NULL);
  ostrel_startup_destroy(NULL);

  text = (char*)&failures;
  EXPECT(ostrel_register(NULL, manifest, NULL, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(text == NULL);
  EXPECT(ostrel_ensure(key, NULL, NULL, NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_unregister(key, bad_utf8, NULL, NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_register(key, long_path, NULL, NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_ensure(key, "", NULL, NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_unregister(key, manifest, "", NULL) == OSTREL_E_INVALID_ARGUMENT);

  text = (char*)&failures;
  EXPECT(ostrel_status_json(NULL, NULL, NULL, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(text == NULL);
  EXPECT(ostrel_status_json("", NULL, NULL, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_status_json(key, NULL, NULL, NULL) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_check_json(key, NULL, NULL, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_check_json(key, long_path, NULL, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_repair_json(key, manifest, bad_utf8, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(text == NULL);
  EXPECT(ostrel_status_json(key, "", NULL, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_check_json(key, "", NULL, &text) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_doctor_json(NULL) == OSTREL_E_INVALID_ARGUMENT);

  ostrel_free(NULL);
  EXPECT(ostrel_set_log_callback(NULL, NULL) == OSTREL_OK);
  EXPECT(ostrel_set_program_folder("") == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_set_program_folder(bad_utf8) == OSTREL_E_INVALID_ARGUMENT);
  EXPECT(ostrel_set_program_folder(NULL) == OSTREL_OK);
  free(long_path);
  if (failures == 0) printf("bad arguments refused\n");
  return failures == 0 ? 0 : 1;
}

static const char* outcome_name(int outcome) {
  switch (outcome) {
    case OSTREL_STARTUP_ALREADY_REGISTERED:
      return "already-registered";
    case OSTREL_STARTUP_REGISTERED:
      return "registered";
    case OSTREL_STARTUP_REPAIRED:
      return "repaired";
    case OSTREL_STARTUP_UNREACHABLE:
      return "unreachable";
    case OSTREL_STARTUP_FAILED:
      return "failed";
    case OSTREL_STARTUP_CANCELLED:
      return "cancelled";
    default:
      return "status-code";
  }
}

static int report_startup(ostrel_startup* s, int outcome) {
  printf("%s (%d): %s\n", outcome_name(outcome), outcome, ostrel_startup_message(s));
  ostrel_startup_destroy(s);
  return outcome < 0 ? 100 : outcome;
}

static int run_startup(const char* key, const char* manifest, const char* loader) {
  ostrel_startup* s = NULL;
  int status = ostrel_startup_create(key, manifest, loader, &s);
  if (status != OSTREL_OK) {
    printf("create failed: %d\n", status);
    return 100;
  }
  return report_startup(s, ostrel_startup_run(s));
}

/* The run blocks in a thread of its own; this thread cancels it. */
struct run_in_thread {
  ostrel_startup* s;
  int outcome;
};

#if defined(_WIN32)
static DWORD WINAPI run_thread(LPVOID argument) {
  struct run_in_thread* run = (struct run_in_thread*)argument;
  run->outcome = ostrel_startup_run(run->s);
  return 0;
}
#else
static void* run_thread(void* argument) {
  struct run_in_thread* run = (struct run_in_thread*)argument;
  run->outcome = ostrel_startup_run(run->s);
  return NULL;
}
#endif

static void sleep_ms(int milliseconds) {
#if defined(_WIN32)
  Sleep((DWORD)milliseconds);
#else
  struct timespec pause;
  pause.tv_sec = milliseconds / 1000;
  pause.tv_nsec = (long)(milliseconds % 1000) * 1000000L;
  nanosleep(&pause, NULL);
#endif
}

static int run_cancelled(const char* key, const char* manifest, const char* loader) {
  struct run_in_thread run;
  run.s = NULL;
  run.outcome = -1000;
  if (ostrel_startup_create(key, manifest, loader, &run.s) != OSTREL_OK) return 100;
#if defined(_WIN32)
  HANDLE thread = CreateThread(NULL, 0, run_thread, &run, 0, NULL);
  if (thread == NULL) return 100;
  sleep_ms(700);
  ostrel_startup_cancel(run.s);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
#else
  pthread_t thread;
  if (pthread_create(&thread, NULL, run_thread, &run) != 0) return 100;
  sleep_ms(700);
  ostrel_startup_cancel(run.s);
  pthread_join(thread, NULL);
#endif
  return report_startup(run.s, run.outcome);
}

/* Started on the library's thread; the callback and ostrel_startup_wait
 * must agree on the outcome. */
struct completion {
  int calls;
  int outcome;
};

static void OSTREL_CALL on_done(ostrel_startup* s, int outcome, void* user) {
  struct completion* done = (struct completion*)user;
  ++done->calls;
  done->outcome = outcome;
  printf("callback (%d): %s\n", outcome, ostrel_startup_message(s));
}

static int run_async(const char* key, const char* manifest, const char* loader) {
  struct completion done;
  ostrel_startup* s = NULL;
  int outcome;
  done.calls = 0;
  done.outcome = -1000;
  if (ostrel_startup_create(key, manifest, loader, &s) != OSTREL_OK) return 100;
  EXPECT(ostrel_startup_wait(s) == OSTREL_E_INVALID_STATE);
  EXPECT(ostrel_startup_start(s, on_done, &done) == OSTREL_OK);
  EXPECT(ostrel_startup_start(s, on_done, &done) == OSTREL_E_INVALID_STATE);
  EXPECT(ostrel_startup_run(s) == OSTREL_E_INVALID_STATE);
  outcome = ostrel_startup_wait(s);
  EXPECT(ostrel_startup_wait(s) == outcome);
  /* Destroying joins the library's thread, so the callback has returned. */
  ostrel_startup_destroy(s);
  EXPECT(done.calls == 1);
  EXPECT(done.outcome == outcome);
  printf("%s (%d)\n", outcome_name(outcome), outcome);
  if (failures != 0) return 101;
  return outcome < 0 ? 100 : outcome;
}

static int run_registrar(const char* operation, const char* key, const char* manifest,
                         const char* loader) {
  char* error = NULL;
  int result;
  if (strcmp(operation, "register") == 0) {
    result = ostrel_register(key, manifest, loader, &error);
  } else if (strcmp(operation, "ensure") == 0) {
    result = ostrel_ensure(key, manifest, loader, &error);
  } else {
    result = ostrel_unregister(key, manifest, loader, &error);
  }
  printf("%s: %d: %s\n", operation, result, error != NULL ? error : "(no error)");
  ostrel_free(error);
  return result < 0 ? 100 - result : result;
}

static int run_json(const char* command, const char* key, const char* manifest,
                    const char* loader) {
  char* json = NULL;
  int status;
  if (strcmp(command, "doctor") == 0) {
    status = ostrel_doctor_json(&json);
  } else if (strcmp(command, "status") == 0) {
    status = ostrel_status_json(key, manifest, loader, &json);
  } else if (strcmp(command, "check") == 0) {
    status = ostrel_check_json(key, manifest, loader, &json);
  } else {
    status = ostrel_repair_json(key, manifest, loader, &json);
  }
  if (json == NULL) {
    printf("%s: no JSON (%d)\n", command, status);
    return 100;
  }
  fputs(json, stdout);
  ostrel_free(json);
  return status;
}

/* Keys the runtime refuses, at every function that takes a key: each call
 * is refused before anything is read or reached. */
static int check_bad_keys(const char* manifest, const char* loader) {
  char long_key[129];
  const char* keys[5];
  size_t k;
  memset(long_key, 'k', 128);
  long_key[128] = '\0';
  keys[0] = "";
  keys[1] = "vantorell\tostrel";
  keys[2] = "vantorell ostrel";
  keys[3] = "../vantorell.ostrel";
  keys[4] = long_key;
  for (k = 0; k < sizeof keys / sizeof keys[0]; ++k) {
    ostrel_startup* s = (ostrel_startup*)&failures;
    char* text = (char*)&failures;
    EXPECT(ostrel_startup_create(keys[k], manifest, loader, &s) == OSTREL_E_INVALID_ARGUMENT);
    EXPECT(s == NULL);
    EXPECT(ostrel_register(keys[k], manifest, loader, &text) == OSTREL_E_INVALID_ARGUMENT);
    EXPECT(text == NULL);
    EXPECT(ostrel_ensure(keys[k], manifest, loader, NULL) == OSTREL_E_INVALID_ARGUMENT);
    EXPECT(ostrel_unregister(keys[k], manifest, loader, NULL) == OSTREL_E_INVALID_ARGUMENT);
    text = (char*)&failures;
    EXPECT(ostrel_status_json(keys[k], manifest, loader, &text) == OSTREL_E_INVALID_ARGUMENT);
    EXPECT(text == NULL);
    EXPECT(ostrel_check_json(keys[k], manifest, loader, &text) == OSTREL_E_INVALID_ARGUMENT);
    EXPECT(ostrel_repair_json(keys[k], manifest, loader, &text) == OSTREL_E_INVALID_ARGUMENT);
  }
  if (failures == 0) printf("bad keys refused\n");
  return failures == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
  int logged = 0;
  int status;
  if (argc == 2 && strcmp(argv[1], "version") == 0) return check_version();
  if (argc == 2 && strcmp(argv[1], "bad-arguments") == 0) return check_bad_arguments();
  if (argc == 2 && strcmp(argv[1], "code-names") == 0) return check_code_names();
  if (argc != 5) {
    fprintf(stderr, "usage: ostrel_c_client COMMAND KEY MANIFEST LOADER\n");
    return 64;
  }
  if (ostrel_set_log_callback(on_log, &logged) != OSTREL_OK) return 100;
  {
    const char* command = argv[1];
    const char* key = argv[2];
    const char* manifest = optional_text(argv[3]);
    const char* loader = optional_text(argv[4]);
    if (strcmp(command, "startup") == 0) {
      status = run_startup(key, manifest, loader);
    } else if (strcmp(command, "cancel") == 0) {
      status = run_cancelled(key, manifest, loader);
    } else if (strcmp(command, "async") == 0) {
      status = run_async(key, manifest, loader);
    } else if (strcmp(command, "register") == 0 || strcmp(command, "ensure") == 0 ||
               strcmp(command, "unregister") == 0) {
      status = run_registrar(command, key, manifest, loader);
    } else if (strcmp(command, "status") == 0 || strcmp(command, "check") == 0 ||
               strcmp(command, "repair") == 0 || strcmp(command, "doctor") == 0) {
      status = run_json(command, key, manifest, loader);
    } else if (strncmp(command, "status-times-", 13) == 0) {
      /* The status asked over and over, as a program polling it would. */
      int times = atoi(command + 13);
      int i;
      status = 0;
      for (i = 0; i < times && status >= 0; ++i) {
        char* json = NULL;
        status = ostrel_status_json(key, manifest, loader, &json);
        ostrel_free(json);
      }
      printf("status asked %d times: %s\n", i, ostrel_code_name(OSTREL_CODES_STATE, status));
      status = status < 0 ? 100 : 0;
    } else if (strcmp(command, "bad-keys") == 0) {
      status = check_bad_keys(manifest, loader);
    } else {
      fprintf(stderr, "unknown command %s\n", command);
      return 64;
    }
  }
  /* Back to the console: later lines go to standard error directly. */
  ostrel_set_log_callback(NULL, NULL);
  fprintf(stderr, "log lines received: %d\n", logged);
  fflush(stdout);
  return status;
}
