/*
 * ostrel: keeps an application's SteamVR registration right, from any
 * language that can call C.
 *
 * Shipped as ostrel.dll (Windows, with its import library and ostrel.def) and
 * libostrel.so (SONAME libostrel.so.1). Usable from C11 and C++; every
 * exported function is declared here and nothing else is exported.
 *
 * Return values, one rule for every function that returns an int:
 *   - Negative: the call was misused or failed inside the library, and
 *     nothing happened in the world. The same situation is the same number
 *     from every function: OSTREL_E_INVALID_ARGUMENT, OSTREL_E_OUT_OF_MEMORY,
 *     OSTREL_E_INVALID_STATE, OSTREL_E_INTERNAL.
 *   - Zero or positive: what happened in the world, one of the function's
 *     own named set, which its comment names:
 *       OSTREL_OK                       create, start, set_log_callback, ...
 *       OSTREL_STARTUP_*                the start-up call's outcome
 *       OSTREL_RESULT_*                 register, ensure, unregister
 *       OSTREL_STATE_*                  status: the registration's state
 *       OSTREL_CHECK_*                  check: clean, or errors found
 *       OSTREL_REPAIR_*                 repair's outcome
 *       OSTREL_DOCTOR_*                 the doctor: every registration judged
 *   ostrel_code_name names any of them, for logs and bindings. The command
 *   line's exit statuses are the command's own: they appear only in the
 *   JSON reports' "exit_status", never as a return value here.
 *
 * Conventions for every function:
 *   - Text in and out is UTF-8 and NUL-terminated. A text argument that is
 *     not valid UTF-8, or that holds OSTREL_MAX_TEXT_BYTES bytes or more
 *     before its NUL, is refused with OSTREL_E_INVALID_ARGUMENT.
 *   - `app_key` is refused with OSTREL_E_INVALID_ARGUMENT, before anything is
 *     read or the runtime reached, when the runtime would refuse it: empty,
 *     holding anything but ASCII letters, digits, '.', '-' and '_' (control
 *     characters, spaces, '/' included), or 128 bytes or more.
 *   - A path argument (`manifest_path`, `loader_path`, `folder`) that is ""
 *     is refused with OSTREL_E_INVALID_ARGUMENT; where a path is optional,
 *     NULL means the default the function names.
 *   - Nothing is thrown or aborted across this interface; running out of
 *     memory is OSTREL_E_OUT_OF_MEMORY.
 *   - Text the library allocates for the caller (a `char**` out argument) is
 *     freed with ostrel_free, and only with it; on failure the out argument
 *     is set to NULL.
 *   - Arguments are only read during the call; nothing keeps a caller's
 *     pointer, except the `user` pointers of the two callbacks.
 *   - The OpenVR loader keeps one runtime connection per process, so the
 *     functions that reach the runtime (ostrel_startup_run and the work
 *     ostrel_startup_start begins, ostrel_register,
 *     ostrel_ensure, ostrel_unregister, ostrel_status_json,
 *     ostrel_repair_json) must not run on two threads at once.
 *   - The OpenVR loader, once loaded, stays loaded until the process ends:
 *     unloading Valve's loader leaks its C++ run-time's memory every time,
 *     so a program that asks for the status over and over would grow. Each
 *     call still closes its runtime connection before it returns.
 *   - Every event is one log line through the process logger: the console
 *     (standard error) unless a log callback is installed.
 *
 * ABI: 1.x only adds (functions, named codes, members of a set); nothing
 * declared here changes its meaning, signature or number within a major
 * version. A change that breaks that is a new major version with a new
 * SONAME (libostrel.so.2).
 */
#ifndef OSTREL_H
#define OSTREL_H

#include <stddef.h>

#define OSTREL_VERSION_MAJOR 1
#define OSTREL_VERSION_MINOR 0
#define OSTREL_VERSION_PATCH 0

#if defined(_WIN32)
#define OSTREL_CALL __cdecl
#if defined(OSTREL_BUILDING_LIBRARY)
#define OSTREL_API __declspec(dllexport)
#else
#define OSTREL_API __declspec(dllimport)
#endif
#else
#define OSTREL_CALL
#if defined(OSTREL_BUILDING_LIBRARY) && defined(__GNUC__)
#define OSTREL_API __attribute__((visibility("default")))
#else
#define OSTREL_API
#endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Plain success, for the functions that either do what they are asked or
 * fail. */
#define OSTREL_OK 0

/* Misuse and failures inside the library: the same numbers from every
 * function, all negative. */
#define OSTREL_E_INVALID_ARGUMENT (-1) /* NULL where a value is needed, bad UTF-8, too long, ... */
#define OSTREL_E_OUT_OF_MEMORY (-2)
#define OSTREL_E_INVALID_STATE (-3) /* the handle has not run, is running, or has run */
#define OSTREL_E_INTERNAL (-4)      /* an unexpected failure inside the library */

/* A text argument of this many bytes or more (the NUL not counted) is
 * refused. Longer than any path Windows accepts, even in UTF-8. */
#define OSTREL_MAX_TEXT_BYTES 98304

/* The library's version, "MAJOR.MINOR.PATCH", matching the macros above for
 * the header it was built with. Static storage, never NULL. Any thread. */
OSTREL_API const char* OSTREL_CALL ostrel_version(void);

/* Frees text the library allocated for the caller. NULL is ignored. Any
 * thread. */
OSTREL_API void OSTREL_CALL ostrel_free(void* text);

/* The sets of named codes, for ostrel_code_name. */
#define OSTREL_CODES_PLAIN 0   /* OSTREL_OK */
#define OSTREL_CODES_STARTUP 1 /* OSTREL_STARTUP_* */
#define OSTREL_CODES_RESULT 2  /* OSTREL_RESULT_* */
#define OSTREL_CODES_STATE 3   /* OSTREL_STATE_* */
#define OSTREL_CODES_CHECK 4   /* OSTREL_CHECK_* */
#define OSTREL_CODES_REPAIR 5  /* OSTREL_REPAIR_* */
#define OSTREL_CODES_DOCTOR 6  /* OSTREL_DOCTOR_* */

/* The name of `code` as this header spells it ("OSTREL_STARTUP_REPAIRED",
 * "OSTREL_E_INVALID_ARGUMENT"): a negative code names the same failure in
 * every set; zero or positive is looked up in `set` (an OSTREL_CODES_*).
 * "OSTREL_UNKNOWN_CODE" for anything else. Static storage, never NULL. Any
 * thread. */
OSTREL_API const char* OSTREL_CALL ostrel_code_name(int set, int code);

/* The folder the defaults are looked for in: "app.vrmanifest" for the
 * start-up call and the OpenVR loader for every call that reaches the
 * runtime. NULL: the running executable's folder (on Linux an AppImage's
 * when $APPIMAGE names one), the default. A host whose executable is not the
 * application (mono, dotnet, python3) names the application's folder here;
 * the bindings do so themselves. Copied. Returns OSTREL_OK, or
 * OSTREL_E_INVALID_ARGUMENT ("" or bad text) with the folder unchanged, or
 * OSTREL_E_OUT_OF_MEMORY. REQUIRES: no other function of this library runs
 * on any thread meanwhile; set it before the first other call. */
OSTREL_API int OSTREL_CALL ostrel_set_program_folder(const char* folder);

/* ---------------------------------------------------------------------------
 * The start-up call: what an application runs each time it starts, to keep
 * its registration right after a first install and after the user moved or
 * reinstalled it into another folder.
 *
 * In order: when the runtime's own files show this manifest as the one the
 * key is served from, an auto-launch choice recorded for it (for a dashboard
 * overlay) and the manifest check finds no error, nothing is done and the
 * runtime is not contacted. Otherwise the manifest is checked (an error:
 * FAILED), the runtime is reached (not reachable: UNREACHABLE), other listed
 * copies that declare the key are removed through the runtime and this
 * manifest is registered (REPAIRED), or it is registered for the first time
 * (REGISTERED). A registration that stopped before auto-launch was switched
 * on is finished (REGISTERED). Auto-launch: a choice the user has made is
 * kept as it is and never switched, not even for a moment; where none is
 * recorded it is switched on.
 *
 * The outcomes (OSTREL_CODES_STARTUP): */

#define OSTREL_STARTUP_ALREADY_REGISTERED 0 /* the registration was right; nothing changed */
#define OSTREL_STARTUP_REGISTERED 1         /* this manifest was registered */
#define OSTREL_STARTUP_REPAIRED 2           /* other copies removed, this one registered */
#define OSTREL_STARTUP_UNREACHABLE 3        /* the runtime could not be reached; nothing changed */
#define OSTREL_STARTUP_FAILED 4             /* see the message; a removal may have been done */
#define OSTREL_STARTUP_CANCELLED 5          /* stopped by ostrel_startup_cancel */

typedef struct ostrel_startup ostrel_startup;

/* Makes a handle for one run. `app_key` is required. `manifest_path` NULL:
 * "app.vrmanifest" in the program's folder (ostrel_set_program_folder: the
 * running executable's, or on Linux beside the AppImage file when $APPIMAGE
 * names one); otherwise made full against the working directory by the
 * platform's rules; "" is refused. `loader_path` NULL: the OpenVR loader in
 * the program's folder, then the system's search.
 * The texts are copied. On success stores the handle in *out (free it with
 * ostrel_startup_destroy) and returns OSTREL_OK; otherwise stores NULL (when
 * `out` is not NULL) and returns a status code. Any thread. */
OSTREL_API int OSTREL_CALL ostrel_startup_create(const char* app_key, const char* manifest_path,
                                                 const char* loader_path, ostrel_startup** out);

/* Does the work and returns an OSTREL_STARTUP_* outcome, blocking the
 * calling thread until it is done (the work itself runs on a thread of the
 * library's, as for ostrel_startup_start; should the system refuse one, the
 * outcome is OSTREL_STARTUP_FAILED and the message says so). Blocks for as
 * long as the runtime takes to connect (seconds when its server has to
 * start) and to list the manifest (about two seconds). A handle runs once: a
 * second call returns OSTREL_E_INVALID_STATE. When ostrel_startup_cancel
 * came first, returns OSTREL_STARTUP_CANCELLED without doing anything. */
OSTREL_API int OSTREL_CALL ostrel_startup_run(ostrel_startup* s);

/* Called once with the outcome of ostrel_startup_start, on the library's
 * thread that did the work, after ostrel_startup_wait would return. It may
 * call ostrel_startup_message and ostrel_startup_destroy on `s`; a host
 * usually posts the outcome to the thread that owns its window instead. */
typedef void(OSTREL_CALL* ostrel_startup_done)(ostrel_startup* s, int outcome, void* user);

/* As ostrel_startup_run, but returns at once with the work on a thread of
 * the library's own; `callback` (may be NULL) then receives the outcome with
 * `user`. Returns OSTREL_OK; OSTREL_E_INVALID_STATE when the handle has
 * already run or been started; OSTREL_E_INTERNAL when the system refused a
 * thread (the handle has not run then). Any thread. */
OSTREL_API int OSTREL_CALL ostrel_startup_start(ostrel_startup* s, ostrel_startup_done callback,
                                                void* user);

/* Blocks until the run, started either way, is done and returns its
 * OSTREL_STARTUP_* outcome (or the status code the run returned). Returns
 * OSTREL_E_INVALID_STATE when the handle has not been run or started yet.
 * From any thread, any number of times. */
OSTREL_API int OSTREL_CALL ostrel_startup_wait(ostrel_startup* s);

/* Stops a run under way at its next wait (a poll, or a wait between tries
 * to reach the runtime; a connection the runtime is still making is waited
 * for), or the run to come. From any thread, at any time before
 * ostrel_startup_destroy, any number of times. NULL is ignored. */
OSTREL_API void OSTREL_CALL ostrel_startup_cancel(ostrel_startup* s);

/* One line for a person saying what the run did, UTF-8; "" until the run has
 * returned. Owned by the handle: valid until ostrel_startup_destroy, and
 * unchanged once set. Any thread. NULL when `s` is NULL. */
OSTREL_API const char* OSTREL_CALL ostrel_startup_message(const ostrel_startup* s);

/* Frees the handle. A run started with ostrel_startup_start is cancelled and
 * waited for first (unless this is called from its callback). REQUIRES: no
 * other call on it is under way or to come; a blocking ostrel_startup_run
 * must have returned. NULL is ignored. */
OSTREL_API void OSTREL_CALL ostrel_startup_destroy(ostrel_startup* s);

/* ---------------------------------------------------------------------------
 * The registrar's operations for one key and manifest, over the runtime.
 * `manifest_path` is required and is given to the runtime as a full path
 * (a relative one made absolute against the working directory). The manifest is
 * not checked first: ostrel_check_json does that.
 *
 * Return the result (OSTREL_CODES_RESULT), or a status code. When `error`
 * is not NULL it receives the text of the failure (the loader's reason and
 * what to do when unreachable), or NULL after a success; free it with
 * ostrel_free. */

#define OSTREL_RESULT_SUCCESS 0
#define OSTREL_RESULT_ADD_FAILED 1         /* path unusable, or the runtime refused the manifest */
#define OSTREL_RESULT_POLL_TIMEOUT 2       /* added, not listed within about two seconds */
#define OSTREL_RESULT_AUTO_LAUNCH_FAILED 3 /* listed, but the runtime refused auto-launch */
#define OSTREL_RESULT_REMOVE_FAILED 4      /* path unusable, or the runtime refused the removal */
#define OSTREL_RESULT_UNREACHABLE 5        /* the runtime could not be reached; nothing was done */

/* Adds the manifest, waits until the runtime lists the key, enables
 * auto-launch, whatever the user had chosen (ostrel_ensure keeps it). */
OSTREL_API int OSTREL_CALL ostrel_register(const char* app_key, const char* manifest_path,
                                           const char* loader_path, char** error);
/* Succeeds when the runtime lists the key already, auto-launch untouched when
 * a choice is recorded for it, switched on to finish a registration that
 * stopped before (none recorded, a dashboard overlay). Otherwise adds the
 * manifest and waits until the runtime lists it, keeping the user's recorded
 * auto-launch choice, else switching it on. Other listed copies are left. */
OSTREL_API int OSTREL_CALL ostrel_ensure(const char* app_key, const char* manifest_path,
                                         const char* loader_path, char** error);
/* Removes the manifest. */
OSTREL_API int OSTREL_CALL ostrel_unregister(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** error);

/* ---------------------------------------------------------------------------
 * ostrel-register's status, check and repair, answering with the JSON object
 * the command prints for --json (one object and a newline, built by the same
 * library code) in *json, freed with ostrel_free; its "exit_status" member is
 * the command's. `app_key` and `json` are required; `manifest_path` is
 * required by check and repair, optional for status; `loader_path` NULL: the
 * default search (check never loads it). On a status code *json is NULL. */

/* status: what the runtime and its files say (OSTREL_CODES_STATE). */
#define OSTREL_STATE_REGISTERED 0     /* the key is served, and not stale */
#define OSTREL_STATE_STALE 1          /* another listed manifest declares the key: repair it */
#define OSTREL_STATE_NOT_REGISTERED 2 /* nothing serves the key */
#define OSTREL_STATE_UNKNOWN 3        /* neither the runtime nor its files could be read */

/* check: the manifest as register would judge it (OSTREL_CODES_CHECK). */
#define OSTREL_CHECK_CLEAN 0  /* no error; warnings may be listed */
#define OSTREL_CHECK_ERRORS 1 /* the runtime would refuse the manifest or skip it */

/* repair: removes the other listed copies that declare the key, then
 * registers this manifest, keeping the user's recorded auto-launch choice
 * (OSTREL_CODES_REPAIR). */
#define OSTREL_REPAIR_DONE 0                /* registered, after removing what had to go */
#define OSTREL_REPAIR_CHECK_FAILED 1        /* the manifest check found errors; nothing done */
#define OSTREL_REPAIR_UNREACHABLE 2         /* the runtime could not be reached; nothing done */
#define OSTREL_REPAIR_REMOVAL_REFUSED 3     /* a removal was refused; nothing registered */
#define OSTREL_REPAIR_REGISTRATION_FAILED 4 /* the add, the wait or auto-launch failed ("result") */

OSTREL_API int OSTREL_CALL ostrel_status_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json);
OSTREL_API int OSTREL_CALL ostrel_check_json(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** json);
OSTREL_API int OSTREL_CALL ostrel_repair_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json);

/* ---------------------------------------------------------------------------
 * The doctor: every application registration on the machine judged from the
 * runtime's own files, as `ostrel-register doctor --json` prints it (one
 * object and a newline) in *json, freed with ostrel_free; its "exit_status"
 * member is the command's. Reads the files only: the runtime is never
 * reached and nothing is removed. `json` is required; on a status code *json
 * is NULL. Any thread. The state (OSTREL_CODES_DOCTOR): */
#define OSTREL_DOCTOR_CLEAN 0      /* nothing found is an error (warnings may be listed) */
#define OSTREL_DOCTOR_PROBLEMS 1   /* an error was found: see the findings */
#define OSTREL_DOCTOR_UNREADABLE 2 /* the runtime's list of applications cannot be read */

OSTREL_API int OSTREL_CALL ostrel_doctor_json(char** json);

/* ---------------------------------------------------------------------------
 * Logging. */

#define OSTREL_LOG_TRACE 0
#define OSTREL_LOG_DEBUG 1
#define OSTREL_LOG_INFO 2
#define OSTREL_LOG_WARN 3
#define OSTREL_LOG_ERROR 4
#define OSTREL_LOG_FATAL 5

/* Receives one log line: its OSTREL_LOG_* level and the message, UTF-8,
 * without a line end or time stamp, valid during the call only. Called on
 * whichever thread logs, possibly on several at once; it must return
 * normally and must not call into this library. */
typedef void(OSTREL_CALL* ostrel_log_callback)(int level, const char* message, void* user);

/* Sends every log line to `callback` with `user` instead of the console;
 * NULL puts the console logger back. Returns OSTREL_OK, or
 * OSTREL_E_OUT_OF_MEMORY with the logger unchanged. REQUIRES: no other
 * function of this library runs on any thread meanwhile (the logger is read
 * without a lock); install it before the first other call. `user` is kept
 * until the next call. */
OSTREL_API int OSTREL_CALL ostrel_set_log_callback(ostrel_log_callback callback, void* user);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* OSTREL_H */
