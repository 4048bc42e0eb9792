//! The C interface as `ostrel.h` declares it, unchanged: the numbers, the
//! opaque start-up handle, the two callback types and every function.
//!
//! Everything here is `unsafe` to call and follows the header's contract
//! (text is NUL-terminated UTF-8; text the library hands out is freed with
//! [`ostrel_free`]; the functions that reach the runtime must not run on two
//! threads at once). The crate's top level wraps it safely.
#![allow(non_camel_case_types)]

use std::os::raw::{c_char, c_int, c_void};

pub const OSTREL_VERSION_MAJOR: c_int = 1;
pub const OSTREL_VERSION_MINOR: c_int = 0;
pub const OSTREL_VERSION_PATCH: c_int = 0;

pub const OSTREL_OK: c_int = 0;

pub const OSTREL_E_INVALID_ARGUMENT: c_int = -1;
pub const OSTREL_E_OUT_OF_MEMORY: c_int = -2;
pub const OSTREL_E_INVALID_STATE: c_int = -3;
pub const OSTREL_E_INTERNAL: c_int = -4;

pub const OSTREL_MAX_TEXT_BYTES: usize = 98304;

pub const OSTREL_CODES_PLAIN: c_int = 0;
pub const OSTREL_CODES_STARTUP: c_int = 1;
pub const OSTREL_CODES_RESULT: c_int = 2;
pub const OSTREL_CODES_STATE: c_int = 3;
pub const OSTREL_CODES_CHECK: c_int = 4;
pub const OSTREL_CODES_REPAIR: c_int = 5;
pub const OSTREL_CODES_DOCTOR: c_int = 6;

pub const OSTREL_STARTUP_ALREADY_REGISTERED: c_int = 0;
pub const OSTREL_STARTUP_REGISTERED: c_int = 1;
pub const OSTREL_STARTUP_REPAIRED: c_int = 2;
pub const OSTREL_STARTUP_UNREACHABLE: c_int = 3;
pub const OSTREL_STARTUP_FAILED: c_int = 4;
pub const OSTREL_STARTUP_CANCELLED: c_int = 5;

pub const OSTREL_RESULT_SUCCESS: c_int = 0;
pub const OSTREL_RESULT_ADD_FAILED: c_int = 1;
pub const OSTREL_RESULT_POLL_TIMEOUT: c_int = 2;
pub const OSTREL_RESULT_AUTO_LAUNCH_FAILED: c_int = 3;
pub const OSTREL_RESULT_REMOVE_FAILED: c_int = 4;
pub const OSTREL_RESULT_UNREACHABLE: c_int = 5;

pub const OSTREL_STATE_REGISTERED: c_int = 0;
pub const OSTREL_STATE_STALE: c_int = 1;
pub const OSTREL_STATE_NOT_REGISTERED: c_int = 2;
pub const OSTREL_STATE_UNKNOWN: c_int = 3;

pub const OSTREL_CHECK_CLEAN: c_int = 0;
pub const OSTREL_CHECK_ERRORS: c_int = 1;

pub const OSTREL_REPAIR_DONE: c_int = 0;
pub const OSTREL_REPAIR_CHECK_FAILED: c_int = 1;
pub const OSTREL_REPAIR_UNREACHABLE: c_int = 2;
pub const OSTREL_REPAIR_REMOVAL_REFUSED: c_int = 3;
pub const OSTREL_REPAIR_REGISTRATION_FAILED: c_int = 4;

pub const OSTREL_DOCTOR_CLEAN: c_int = 0;
pub const OSTREL_DOCTOR_PROBLEMS: c_int = 1;
pub const OSTREL_DOCTOR_UNREADABLE: c_int = 2;

pub const OSTREL_LOG_TRACE: c_int = 0;
pub const OSTREL_LOG_DEBUG: c_int = 1;
pub const OSTREL_LOG_INFO: c_int = 2;
pub const OSTREL_LOG_WARN: c_int = 3;
pub const OSTREL_LOG_ERROR: c_int = 4;
pub const OSTREL_LOG_FATAL: c_int = 5;

/// The start-up handle; only ever behind a pointer.
#[repr(C)]
pub struct ostrel_startup {
    _opaque: [u8; 0],
}

/// `ostrel_startup_done`: the outcome of `ostrel_startup_start`, on the
/// library's thread.
pub type ostrel_startup_done =
    Option<unsafe extern "C" fn(s: *mut ostrel_startup, outcome: c_int, user: *mut c_void)>;

/// `ostrel_log_callback`: one log line, on whichever thread logs.
pub type ostrel_log_callback =
    Option<unsafe extern "C" fn(level: c_int, message: *const c_char, user: *mut c_void)>;

// OSTREL_CALL is __cdecl on Windows, which on x86-64 is the one C calling
// convention, "C" here.
extern "C" {
    pub fn ostrel_version() -> *const c_char;
    pub fn ostrel_free(text: *mut c_void);
    pub fn ostrel_code_name(set: c_int, code: c_int) -> *const c_char;
    pub fn ostrel_set_program_folder(folder: *const c_char) -> c_int;

    pub fn ostrel_startup_create(
        app_key: *const c_char,
        manifest_path: *const c_char,
        loader_path: *const c_char,
        out: *mut *mut ostrel_startup,
    ) -> c_int;
    pub fn ostrel_startup_run(s: *mut ostrel_startup) -> c_int;
    pub fn ostrel_startup_start(
        s: *mut ostrel_startup,
        callback: ostrel_startup_done,
        user: *mut c_void,
    ) -> c_int;
    pub fn ostrel_startup_wait(s: *mut ostrel_startup) -> c_int;
    pub fn ostrel_startup_cancel(s: *mut ostrel_startup);
    pub fn ostrel_startup_message(s: *const ostrel_startup) -> *const c_char;
    pub fn ostrel_startup_destroy(s: *mut ostrel_startup);

    pub fn ostrel_register(
        app_key: *const c_char,
        manifest_path: *const c_char,
        loader_path: *const c_char,
        error: *mut *mut c_char,
    ) -> c_int;
    pub fn ostrel_ensure(
        app_key: *const c_char,
        manifest_path: *const c_char,
        loader_path: *const c_char,
        error: *mut *mut c_char,
    ) -> c_int;
    pub fn ostrel_unregister(
        app_key: *const c_char,
        manifest_path: *const c_char,
        loader_path: *const c_char,
        error: *mut *mut c_char,
    ) -> c_int;

    pub fn ostrel_status_json(
        app_key: *const c_char,
        manifest_path: *const c_char,
        loader_path: *const c_char,
        json: *mut *mut c_char,
    ) -> c_int;
    pub fn ostrel_check_json(
        app_key: *const c_char,
        manifest_path: *const c_char,
        loader_path: *const c_char,
        json: *mut *mut c_char,
    ) -> c_int;
    pub fn ostrel_repair_json(
        app_key: *const c_char,
        manifest_path: *const c_char,
        loader_path: *const c_char,
        json: *mut *mut c_char,
    ) -> c_int;

    pub fn ostrel_doctor_json(json: *mut *mut c_char) -> c_int;

    pub fn ostrel_set_log_callback(callback: ostrel_log_callback, user: *mut c_void) -> c_int;
}
