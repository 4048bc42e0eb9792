/*
 * ostrel: keeps an application's SteamVR registration right, from any
 * language that can call C.
 *
 * Shipped as ostrel.dll (Windows, with its import library and ostrel.def) and
 * libostrel.so. Usable from C11 and C++; every exported function is declared
 * here and nothing else is exported.
 *
 * Conventions for every function:
 *   - Text in and out is UTF-8 and NUL-terminated. A text argument that is
 *     not valid UTF-8, or that holds OSTREL_MAX_TEXT_BYTES bytes or more
 *     before its NUL, is refused with OSTREL_E_INVALID_ARGUMENT.
 *   - `app_key` is refused with OSTREL_E_INVALID_ARGUMENT, before anything is
 *     read or the runtime reached, when the runtime would refuse it: empty,
 *     holding anything but ASCII letters, digits, '.', '-' and '_' (control
 *     characters, spaces, '/' included), or 128 bytes or more.
 *   - A path argument (`manifest_path`, `loader_path`) that is "" is refused
 *     with OSTREL_E_INVALID_ARGUMENT; where a path is optional, NULL means
 *     the default the function names.
 *   - Negative results are status codes (OSTREL_E_*); nothing is thrown or
 *     aborted across this interface, and running out of memory is
 *     OSTREL_E_OUT_OF_MEMORY.
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
 *   - Every event is one log line through the process logger: the console
 *     (standard error) unless a log callback is installed.
 */
#ifndef OSTREL_H
#define OSTREL_H

#include <stddef.h>

#define OSTREL_VERSION_MAJOR 0
#define OSTREL_VERSION_MINOR 1
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

/* Status codes: OSTREL_OK, and failures, every one negative so that they
 * never collide with an outcome or an exit status. */
#define OSTREL_OK 0
#define OSTREL_E_INVALID_ARGUMENT (-1) /* NULL where a value is needed, bad UTF-8, too long */
#define OSTREL_E_OUT_OF_MEMORY (-2)
#define OSTREL_E_UNREACHABLE (-3)   /* the runtime could not be reached; nothing was done */
#define OSTREL_E_INVALID_STATE (-4) /* the handle has already run, or is running */
#define OSTREL_E_INTERNAL (-5)      /* an unexpected failure inside the library */

/* A text argument of this many bytes or more (the NUL not counted) is
 * refused. Longer than any path Windows accepts, even in UTF-8. */
#define OSTREL_MAX_TEXT_BYTES 98304

/* The library's version, "MAJOR.MINOR.PATCH", matching the macros above for
 * the header it was built with. Static storage, never NULL. Any thread. */
OSTREL_API const char* OSTREL_CALL ostrel_version(void);

/* Frees text the library allocated for the caller. NULL is ignored. Any
 * thread. */
OSTREL_API void OSTREL_CALL ostrel_free(void* text);

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
 * recorded it is switched on. */

#define OSTREL_STARTUP_ALREADY_REGISTERED 0 /* the registration was right; nothing changed */
#define OSTREL_STARTUP_REGISTERED 1         /* this manifest was registered */
#define OSTREL_STARTUP_REPAIRED 2           /* other copies removed, this one registered */
#define OSTREL_STARTUP_UNREACHABLE 3        /* the runtime could not be reached; nothing changed */
#define OSTREL_STARTUP_FAILED 4             /* see the message; a removal may have been done */
#define OSTREL_STARTUP_CANCELLED 5          /* stopped by ostrel_startup_cancel */

typedef struct ostrel_startup ostrel_startup;

/* Makes a handle for one run. `app_key` is required. `manifest_path` NULL:
 * "app.vrmanifest" beside the running executable (on Linux beside the
 * AppImage file when $APPIMAGE names one); otherwise made full against the
 * working directory by the platform's rules; "" is refused. `loader_path`
 * NULL: the OpenVR loader beside the executable, then the system's search.
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
 * OSTREL_E_INVALID_STATE when the handle has not been run or started. From
 * any thread, any number of times. */
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
 * Return the registrar's result, 0 to 4:
 *   0 success; 1 add failed (path unusable or refused); 2 poll timeout (added,
 *   not listed within about two seconds); 3 auto-launch failed; 4 remove
 *   failed;
 * OSTREL_E_UNREACHABLE when the runtime could not be reached, or another
 * status code. When `error` is not NULL it receives the text of the failure
 * (the loader's reason when unreachable), or NULL after a success; free it
 * with ostrel_free. */

#define OSTREL_RESULT_SUCCESS 0
#define OSTREL_RESULT_ADD_FAILED 1
#define OSTREL_RESULT_POLL_TIMEOUT 2
#define OSTREL_RESULT_AUTO_LAUNCH_FAILED 3
#define OSTREL_RESULT_REMOVE_FAILED 4

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
 * library code) in *json, freed with ostrel_free. repair keeps the user's
 * recorded auto-launch choice, as the command does. Return the command's exit status (0 and above: status 0
 * registered, 6 stale, 7 not registered, 69 unknown; check 0 or 5; repair as
 * the command's table in the README) or a status code, with *json NULL.
 * `app_key` and `json` are required; `manifest_path` is required by check
 * and repair, optional for status; `loader_path` NULL: the default search
 * (check never loads it). */
OSTREL_API int OSTREL_CALL ostrel_status_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json);
OSTREL_API int OSTREL_CALL ostrel_check_json(const char* app_key, const char* manifest_path,
                                             const char* loader_path, char** json);
OSTREL_API int OSTREL_CALL ostrel_repair_json(const char* app_key, const char* manifest_path,
                                              const char* loader_path, char** json);

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
