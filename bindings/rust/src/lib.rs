//! Keeps an application's SteamVR registration right, through the ostrel C
//! library (`libostrel.so.1`, `ostrel.dll`).
//!
//! At start-up, off the thread that draws the window:
//!
//! ```no_run
//! let startup = ostrel::Startup::new("vantorell.ostrel", None, None)?;
//! startup.start(|outcome| {
//!     // On the library's thread: hand the outcome to the UI thread or a log.
//!     let _ = outcome;
//! })?;
//! // ... the application goes on starting; dropping `startup` at exit stops
//! // a registration still under way and waits for it.
//! # Ok::<(), ostrel::Error>(())
//! ```
//!
//! With no manifest and no loader named, `app.vrmanifest` and the OpenVR
//! loader are looked for beside the running executable, which for a Rust
//! program is the application itself.
//!
//! Every function follows the C interface's one rule: what happened in the
//! world is returned as the function's own enumeration ([`StartupOutcome`],
//! [`RegisterResult`], [`RegistrationState`], [`CheckOutcome`],
//! [`RepairOutcome`], [`DoctorState`], numbered as `ostrel.h` numbers them), and misuse or a
//! failure inside the library (the C side's negative numbers) is an
//! [`Error`]. "The runtime cannot be reached" is an outcome, not an error.
//!
//! The OpenVR loader keeps one runtime connection per process, so the calls
//! that reach the runtime ([`Startup::run`], the work [`Startup::start`]
//! begins, [`register`], [`ensure`], [`unregister`], [`status_json`],
//! [`repair_json`]) take turns: one waits while another runs in this process.
//!
//! The raw declarations are in [`sys`].

use std::ffi::{CStr, CString};
use std::fmt;
use std::os::raw::{c_char, c_int, c_void};
use std::panic::{self, AssertUnwindSafe};
use std::path::Path;
use std::ptr::{self, NonNull};
use std::sync::{Condvar, Mutex, MutexGuard};

pub mod sys;

/// The library's version, `"MAJOR.MINOR.PATCH"`.
pub fn version() -> &'static str {
    // SAFETY: static storage, never NULL (ostrel.h).
    unsafe { static_text(sys::ostrel_version()) }
}

/// The name `ostrel.h` gives `code` in `set` (`"OSTREL_REPAIR_REMOVAL_REFUSED"`);
/// a negative code names the same failure in every set;
/// `"OSTREL_UNKNOWN_CODE"` for a number the library does not know.
pub fn code_name(set: CodeSet, code: i32) -> &'static str {
    // SAFETY: static storage, never NULL (ostrel.h).
    unsafe { static_text(sys::ostrel_code_name(set as c_int, code)) }
}

/// The sets of named codes (`OSTREL_CODES_*`).
#[derive(Clone, Copy, Debug, PartialEq, Eq, Hash)]
pub enum CodeSet {
    Plain = 0,
    Startup = 1,
    Result = 2,
    State = 3,
    Check = 4,
    Repair = 5,
    Doctor = 6,
}

// One enumeration per set: its members numbered as ostrel.h numbers them,
// the set it belongs to, and the header's name of each member. 1.x may add
// members, so the enumerations are non-exhaustive; a number this crate does
// not know arrives as an Error naming it.
macro_rules! code_enum {
    ($(#[$meta:meta])* $name:ident, $set:expr, { $($(#[$vmeta:meta])* $variant:ident = $value:expr,)+ }) => {
        $(#[$meta])*
        #[derive(Clone, Copy, Debug, PartialEq, Eq, Hash)]
        #[non_exhaustive]
        pub enum $name {
            $($(#[$vmeta])* $variant = $value as isize,)+
        }

        impl $name {
            /// The set of codes this enumeration is.
            pub const SET: CodeSet = $set;

            /// The member numbered `code`, if this crate knows it.
            pub fn from_code(code: i32) -> Option<Self> {
                match code {
                    $(x if x == $value => Some($name::$variant),)+
                    _ => None,
                }
            }

            /// Its number in `ostrel.h`.
            pub fn code(self) -> i32 {
                self as i32
            }

            /// Its name in `ostrel.h` (from `ostrel_code_name`).
            pub fn name(self) -> &'static str {
                code_name(Self::SET, self.code())
            }
        }
    };
}

code_enum!(
    /// What the start-up call did (`OSTREL_STARTUP_*`).
    StartupOutcome, CodeSet::Startup, {
    /// The registration was right; nothing changed (the runtime not even contacted).
    AlreadyRegistered = sys::OSTREL_STARTUP_ALREADY_REGISTERED,
    /// This manifest was registered.
    Registered = sys::OSTREL_STARTUP_REGISTERED,
    /// Other listed copies that declare the key were removed, this one registered.
    Repaired = sys::OSTREL_STARTUP_REPAIRED,
    /// The runtime could not be reached; nothing changed.
    Unreachable = sys::OSTREL_STARTUP_UNREACHABLE,
    /// See the message; a removal may have been done.
    Failed = sys::OSTREL_STARTUP_FAILED,
    /// Stopped by [`Startup::cancel`].
    Cancelled = sys::OSTREL_STARTUP_CANCELLED,
});

code_enum!(
    /// The registrar's result: [`register`], [`ensure`], [`unregister`] (`OSTREL_RESULT_*`).
    RegisterResult, CodeSet::Result, {
    Success = sys::OSTREL_RESULT_SUCCESS,
    /// The path is unusable, or the runtime refused the manifest.
    AddFailed = sys::OSTREL_RESULT_ADD_FAILED,
    /// Added, but not listed within about two seconds.
    PollTimeout = sys::OSTREL_RESULT_POLL_TIMEOUT,
    /// Listed, but the runtime refused auto-launch.
    AutoLaunchFailed = sys::OSTREL_RESULT_AUTO_LAUNCH_FAILED,
    /// The path is unusable, or the runtime refused the removal.
    RemoveFailed = sys::OSTREL_RESULT_REMOVE_FAILED,
    /// The runtime could not be reached; nothing was done.
    Unreachable = sys::OSTREL_RESULT_UNREACHABLE,
});

code_enum!(
    /// What the status says (`OSTREL_STATE_*`).
    RegistrationState, CodeSet::State, {
    /// The key is served, and not stale.
    Registered = sys::OSTREL_STATE_REGISTERED,
    /// Another listed manifest declares the key: repair it.
    Stale = sys::OSTREL_STATE_STALE,
    /// Nothing serves the key.
    NotRegistered = sys::OSTREL_STATE_NOT_REGISTERED,
    /// Neither the runtime nor its files could be read.
    Unknown = sys::OSTREL_STATE_UNKNOWN,
});

code_enum!(
    /// The manifest check (`OSTREL_CHECK_*`).
    CheckOutcome, CodeSet::Check, {
    /// No error; warnings may be listed.
    Clean = sys::OSTREL_CHECK_CLEAN,
    /// The runtime would refuse the manifest or skip it.
    Errors = sys::OSTREL_CHECK_ERRORS,
});

code_enum!(
    /// What the repair did (`OSTREL_REPAIR_*`).
    RepairOutcome, CodeSet::Repair, {
    /// Registered, after removing what had to go.
    Done = sys::OSTREL_REPAIR_DONE,
    /// The manifest check found errors; nothing done.
    CheckFailed = sys::OSTREL_REPAIR_CHECK_FAILED,
    /// The runtime could not be reached; nothing done.
    Unreachable = sys::OSTREL_REPAIR_UNREACHABLE,
    /// A removal was refused; nothing registered.
    RemovalRefused = sys::OSTREL_REPAIR_REMOVAL_REFUSED,
    /// The add, the wait or auto-launch failed (the report's "result").
    RegistrationFailed = sys::OSTREL_REPAIR_REGISTRATION_FAILED,
});

code_enum!(
    /// What the doctor found over every registration (`OSTREL_DOCTOR_*`).
    DoctorState, CodeSet::Doctor, {
    /// Nothing found is an error (warnings may be listed).
    Clean = sys::OSTREL_DOCTOR_CLEAN,
    /// An error was found: see the findings.
    Problems = sys::OSTREL_DOCTOR_PROBLEMS,
    /// The runtime's list of applications cannot be read.
    Unreadable = sys::OSTREL_DOCTOR_UNREADABLE,
});

/// What kind of misuse or failure an [`Error`] is.
#[derive(Clone, Copy, Debug, PartialEq, Eq, Hash)]
#[non_exhaustive]
pub enum ErrorKind {
    /// `OSTREL_E_INVALID_ARGUMENT`: a key the runtime refuses, an empty path,
    /// text holding a NUL, text too long, a path that is not Unicode.
    InvalidArgument,
    /// `OSTREL_E_OUT_OF_MEMORY`.
    OutOfMemory,
    /// `OSTREL_E_INVALID_STATE`: the handle has not run, is running, or has run.
    InvalidState,
    /// `OSTREL_E_INTERNAL`: an unexpected failure inside the library.
    Internal,
    /// A number this crate does not know (from a newer library).
    Unknown,
}

/// Misuse, or a failure inside the library: nothing happened in the world.
#[derive(Clone, Debug, PartialEq, Eq)]
pub struct Error {
    code: i32,
    set: CodeSet,
    call: &'static str,
    detail: Option<String>,
}

impl Error {
    fn new(code: i32, call: &'static str, detail: Option<String>) -> Error {
        Error {
            code,
            set: CodeSet::Plain,
            call,
            detail,
        }
    }

    fn invalid_argument(call: &'static str, detail: String) -> Error {
        Error::new(sys::OSTREL_E_INVALID_ARGUMENT, call, Some(detail))
    }

    /// The C side's number: negative, or an outcome this crate does not know.
    pub fn code(&self) -> i32 {
        self.code
    }

    pub fn kind(&self) -> ErrorKind {
        match self.code {
            sys::OSTREL_E_INVALID_ARGUMENT => ErrorKind::InvalidArgument,
            sys::OSTREL_E_OUT_OF_MEMORY => ErrorKind::OutOfMemory,
            sys::OSTREL_E_INVALID_STATE => ErrorKind::InvalidState,
            sys::OSTREL_E_INTERNAL => ErrorKind::Internal,
            _ => ErrorKind::Unknown,
        }
    }

    /// The number's name in `ostrel.h` (`"OSTREL_E_INVALID_STATE"`).
    pub fn name(&self) -> &'static str {
        code_name(self.set, self.code)
    }

    /// The C function that answered (`"ostrel_startup_run"`).
    pub fn call(&self) -> &'static str {
        self.call
    }
}

impl fmt::Display for Error {
    fn fmt(&self, f: &mut fmt::Formatter<'_>) -> fmt::Result {
        write!(f, "{} failed: {}", self.call, self.name())?;
        if let Some(detail) = &self.detail {
            write!(f, " ({})", detail)?;
        }
        Ok(())
    }
}

impl std::error::Error for Error {}

/// A non-negative code as a member of `T`'s set, a negative one as an Error.
fn outcome<T, F>(code: c_int, call: &'static str, set: CodeSet, from_code: F) -> Result<T, Error>
where
    F: FnOnce(i32) -> Option<T>,
{
    if code < 0 {
        return Err(Error::new(code, call, None));
    }
    from_code(code).ok_or_else(|| Error {
        code,
        set,
        call,
        detail: Some("a number this binding does not know: is the library newer?".to_string()),
    })
}

fn startup_outcome(code: c_int, call: &'static str) -> Result<StartupOutcome, Error> {
    outcome(code, call, CodeSet::Startup, StartupOutcome::from_code)
}

// --- text across the boundary -------------------------------------------------

/// SAFETY: `text` is static NUL-terminated text, not NULL.
unsafe fn static_text(text: *const c_char) -> &'static str {
    // The library's names and version are ASCII.
    CStr::from_ptr(text).to_str().unwrap_or("")
}

/// `text` as the C side takes it, or the reason it cannot take it whole.
fn c_text(text: &str, name: &str, call: &'static str) -> Result<CString, Error> {
    CString::new(text).map_err(|nul| {
        Error::invalid_argument(
            call,
            format!(
                "{} holds a NUL at byte {}, which would end it there",
                name,
                nul.nul_position()
            ),
        )
    })
}

fn c_path(path: &Path, name: &str, call: &'static str) -> Result<CString, Error> {
    match path.to_str() {
        Some(text) => c_text(text, name, call),
        None => Err(Error::invalid_argument(
            call,
            format!(
                "{} is not valid Unicode, and the library takes UTF-8: {}",
                name,
                path.display()
            ),
        )),
    }
}

fn c_optional_path(
    path: Option<&Path>,
    name: &str,
    call: &'static str,
) -> Result<Option<CString>, Error> {
    path.map(|path| c_path(path, name, call)).transpose()
}

fn pointer_or_null(text: &Option<CString>) -> *const c_char {
    text.as_ref().map_or(ptr::null(), |text| text.as_ptr())
}

/// SAFETY: `text` is NULL or text the library allocated for the caller.
unsafe fn take_text(text: *mut c_char) -> Option<String> {
    if text.is_null() {
        return None;
    }
    let owned = CStr::from_ptr(text).to_string_lossy().into_owned();
    sys::ostrel_free(text as *mut c_void);
    Some(owned)
}

// --- one call that reaches the runtime at a time -------------------------------

// A turnstile rather than a Mutex guard: the turn a started run takes is
// given back on the library's thread, by the completion callback.
struct RuntimeTurn {
    busy: Mutex<bool>,
    free: Condvar,
}

static RUNTIME_TURN: RuntimeTurn = RuntimeTurn {
    busy: Mutex::new(false),
    free: Condvar::new(),
};

impl RuntimeTurn {
    fn state(&self) -> MutexGuard<'_, bool> {
        // Nothing panics while holding it; a poisoned lock still holds a
        // true answer.
        self.busy
            .lock()
            .unwrap_or_else(|poisoned| poisoned.into_inner())
    }

    fn take(&'static self) -> TurnHeld {
        let mut busy = self.state();
        while *busy {
            busy = self
                .free
                .wait(busy)
                .unwrap_or_else(|poisoned| poisoned.into_inner());
        }
        *busy = true;
        TurnHeld { turn: self }
    }

    fn give_back(&self) {
        *self.state() = false;
        self.free.notify_one();
    }
}

/// The turn to reach the runtime, given back when dropped (or, for a
/// started run, by its completion callback: `std::mem::forget`).
struct TurnHeld {
    turn: &'static RuntimeTurn,
}

impl Drop for TurnHeld {
    fn drop(&mut self) {
        self.turn.give_back();
    }
}

// --- the start-up call -----------------------------------------------------------

type OnDone = Box<dyn FnOnce(Result<StartupOutcome, Error>) + Send + 'static>;

/// The start-up call, once per handle (`ostrel_startup`).
///
/// [`run`](Startup::run) blocks the calling thread until the work (on a
/// thread of the library's) is done; [`start`](Startup::start) returns at
/// once and hands the outcome to a closure on the library's thread;
/// [`wait`](Startup::wait) blocks until a run, started either way, is done;
/// [`cancel`](Startup::cancel) stops it, from any thread. Dropping the handle
/// after `start` cancels the run and waits for it (unless the drop happens
/// in the closure itself).
pub struct Startup {
    handle: NonNull<sys::ostrel_startup>,
}

// The handle may go to and be shared by other threads, as ostrel.h allows:
// create, start, wait, cancel and message are callable from any thread, and
// wait, cancel and message while run blocks another; a second run or start,
// even at the same moment, is refused with OSTREL_E_INVALID_STATE (the
// handle is claimed atomically). Its one exclusive call, destroy ("no other
// call on it is under way or to come"), is made by Drop, which owns it.
unsafe impl Send for Startup {}
unsafe impl Sync for Startup {}

impl Startup {
    /// A handle for one run for `app_key`. `manifest`: `None` is
    /// `app.vrmanifest` beside the executable (on Linux beside the AppImage
    /// file when `$APPIMAGE` names one); a relative path is made full
    /// against the working directory. `loader`: `None` is the OpenVR loader
    /// beside the executable, then the system's search. A key the runtime
    /// refuses, an empty path or text with a NUL is
    /// [`ErrorKind::InvalidArgument`].
    pub fn new(
        app_key: &str,
        manifest: Option<&Path>,
        loader: Option<&Path>,
    ) -> Result<Startup, Error> {
        const CALL: &str = "ostrel_startup_create";
        let key = c_text(app_key, "app_key", CALL)?;
        let manifest = c_optional_path(manifest, "manifest", CALL)?;
        let loader = c_optional_path(loader, "loader", CALL)?;
        let mut handle: *mut sys::ostrel_startup = ptr::null_mut();
        // SAFETY: valid texts or NULL where optional; `handle` is written.
        let code = unsafe {
            sys::ostrel_startup_create(
                key.as_ptr(),
                pointer_or_null(&manifest),
                pointer_or_null(&loader),
                &mut handle,
            )
        };
        if code == sys::OSTREL_E_INVALID_ARGUMENT {
            return Err(Error::invalid_argument(
                CALL,
                "the runtime refuses the key (it takes 1 to 127 bytes of ASCII letters, digits, \
                 '.', '-' and '_'), a path is empty, or a text is too long"
                    .to_string(),
            ));
        }
        if code != sys::OSTREL_OK {
            return Err(Error::new(code, CALL, None));
        }
        NonNull::new(handle)
            .map(|handle| Startup { handle })
            .ok_or_else(|| Error::new(sys::OSTREL_E_INTERNAL, CALL, Some("no handle".to_string())))
    }

    /// Does the work, blocking the calling thread until it is done (seconds
    /// when the runtime's server has to start). A handle runs once: a second
    /// run, or a run after [`start`](Startup::start), is
    /// [`ErrorKind::InvalidState`]. After [`cancel`](Startup::cancel):
    /// [`StartupOutcome::Cancelled`] at once.
    pub fn run(&self) -> Result<StartupOutcome, Error> {
        let _turn = RUNTIME_TURN.take();
        // SAFETY: a live handle; run may block while others cancel or wait.
        let code = unsafe { sys::ostrel_startup_run(self.handle.as_ptr()) };
        self.check_state(code, "ostrel_startup_run")
    }

    /// Returns at once with the work on a thread of the library's; `on_done`
    /// then receives the outcome there, once, after [`wait`](Startup::wait)
    /// would return. It may be called while this handle is being dropped
    /// (the drop waits for it), so it should keep to what it owns: send the
    /// outcome to the thread that owns the window, for instance. A panic in
    /// it is caught there and goes no further. Should another call that
    /// reaches the runtime be under way on another thread of this process,
    /// `start` first waits for it to end (they take turns).
    pub fn start<F>(&self, on_done: F) -> Result<(), Error>
    where
        F: FnOnce(Result<StartupOutcome, Error>) + Send + 'static,
    {
        let turn = RUNTIME_TURN.take();
        // Kept alive, with the turn, until the library calls back; taken
        // back here when it refuses to start.
        let user = Box::into_raw(Box::new(Box::new(on_done) as OnDone));
        // SAFETY: a live handle; `startup_done` matches ostrel_startup_done
        // and takes ownership of `user` when called.
        let code = unsafe {
            sys::ostrel_startup_start(
                self.handle.as_ptr(),
                Some(startup_done),
                user as *mut c_void,
            )
        };
        if code != sys::OSTREL_OK {
            // SAFETY: the library refused, so it will never call back.
            drop(unsafe { Box::from_raw(user) });
            return Err(self.state_error(code, "ostrel_startup_start"));
        }
        // The completion callback gives the turn back.
        std::mem::forget(turn);
        Ok(())
    }

    /// Blocks until the run, started either way, is done; its outcome. Any
    /// number of times, from any thread. Before a run or start:
    /// [`ErrorKind::InvalidState`].
    pub fn wait(&self) -> Result<StartupOutcome, Error> {
        // SAFETY: a live handle.
        let code = unsafe { sys::ostrel_startup_wait(self.handle.as_ptr()) };
        if code == sys::OSTREL_E_INVALID_STATE {
            return Err(Error::new(
                code,
                "ostrel_startup_wait",
                Some("the handle has not run yet: call run or start first".to_string()),
            ));
        }
        startup_outcome(code, "ostrel_startup_wait")
    }

    /// Stops the run under way at its next wait (a poll, or a wait between
    /// tries to reach the runtime), or the run to come. From any thread, any
    /// number of times.
    pub fn cancel(&self) {
        // SAFETY: a live handle.
        unsafe { sys::ostrel_startup_cancel(self.handle.as_ptr()) }
    }

    /// One line for a person saying what the run did; empty until it is done.
    pub fn message(&self) -> String {
        // SAFETY: a live handle; the text is the handle's and unchanged once set.
        let text = unsafe { sys::ostrel_startup_message(self.handle.as_ptr()) };
        if text.is_null() {
            return String::new();
        }
        // SAFETY: NUL-terminated text the handle owns.
        unsafe { CStr::from_ptr(text) }
            .to_string_lossy()
            .into_owned()
    }

    fn check_state(&self, code: c_int, call: &'static str) -> Result<StartupOutcome, Error> {
        if code < 0 {
            return Err(self.state_error(code, call));
        }
        startup_outcome(code, call)
    }

    fn state_error(&self, code: c_int, call: &'static str) -> Error {
        let detail = if code == sys::OSTREL_E_INVALID_STATE {
            Some(
                "a handle runs once: it has run or been started already; make a new Startup"
                    .to_string(),
            )
        } else {
            None
        };
        Error::new(code, call, detail)
    }
}

impl Drop for Startup {
    fn drop(&mut self) {
        // SAFETY: owned, and no other call on it can be under way.
        unsafe { sys::ostrel_startup_destroy(self.handle.as_ptr()) }
    }
}

impl fmt::Debug for Startup {
    fn fmt(&self, f: &mut fmt::Formatter<'_>) -> fmt::Result {
        f.debug_struct("Startup")
            .field("message", &self.message())
            .finish()
    }
}

unsafe extern "C" fn startup_done(_s: *mut sys::ostrel_startup, code: c_int, user: *mut c_void) {
    // SAFETY: `user` is the box `start` made; the library calls this once.
    let on_done: Box<OnDone> = Box::from_raw(user as *mut OnDone);
    RUNTIME_TURN.give_back();
    let result = startup_outcome(code, "ostrel_startup_start");
    // Nothing may unwind into the library's thread.
    let _ = panic::catch_unwind(AssertUnwindSafe(move || (*on_done)(result)));
}

// --- one key and manifest: the registrar, status, check, repair ----------------

/// What [`register`], [`ensure`] and [`unregister`] did.
#[derive(Clone, Debug, PartialEq, Eq)]
pub struct Registration {
    pub result: RegisterResult,
    /// The failure's text (the loader's reason and what to do when the
    /// runtime is unreachable); `None` after a success.
    pub error: Option<String>,
}

/// What [`status_json`], [`check_json`], [`repair_json`] and [`doctor_json`] answered: the
/// outcome and the JSON object `ostrel-register ... --json` prints (one
/// object and a newline; its `"exit_status"` is the command's).
#[derive(Clone, Debug, PartialEq, Eq)]
pub struct Report<O> {
    pub outcome: O,
    pub json: String,
}

type TextCall =
    unsafe extern "C" fn(*const c_char, *const c_char, *const c_char, *mut *mut c_char) -> c_int;

/// One call of the shape `f(app_key, manifest, loader, &text)`: the code and
/// the text it handed out (freed here).
fn text_call(
    function: TextCall,
    call: &'static str,
    app_key: &str,
    manifest: Option<&Path>,
    loader: Option<&Path>,
    reaches_runtime: bool,
) -> Result<(c_int, Option<String>), Error> {
    let key = c_text(app_key, "app_key", call)?;
    let manifest = c_optional_path(manifest, "manifest", call)?;
    let loader = c_optional_path(loader, "loader", call)?;
    let _turn = if reaches_runtime {
        Some(RUNTIME_TURN.take())
    } else {
        None
    };
    let mut text: *mut c_char = ptr::null_mut();
    // SAFETY: valid texts or NULL where optional; `text` receives the
    // library's text or NULL.
    let code = unsafe {
        function(
            key.as_ptr(),
            pointer_or_null(&manifest),
            pointer_or_null(&loader),
            &mut text,
        )
    };
    // SAFETY: NULL or the library's text, freed once.
    let text = unsafe { take_text(text) };
    if code < 0 {
        return Err(Error::new(code, call, None));
    }
    Ok((code, text))
}

fn registrar(
    function: TextCall,
    call: &'static str,
    app_key: &str,
    manifest: &Path,
    loader: Option<&Path>,
) -> Result<Registration, Error> {
    let (code, error) = text_call(function, call, app_key, Some(manifest), loader, true)?;
    let result = outcome(code, call, CodeSet::Result, RegisterResult::from_code)?;
    Ok(Registration { result, error })
}

fn report<O, F>(
    function: TextCall,
    call: &'static str,
    set: CodeSet,
    from_code: F,
    arguments: (&str, Option<&Path>, Option<&Path>),
    reaches_runtime: bool,
) -> Result<Report<O>, Error>
where
    F: FnOnce(i32) -> Option<O>,
{
    let (app_key, manifest, loader) = arguments;
    let (code, json) = text_call(function, call, app_key, manifest, loader, reaches_runtime)?;
    let outcome = outcome(code, call, set, from_code)?;
    Ok(Report {
        outcome,
        json: json.unwrap_or_default(),
    })
}

/// Adds the manifest, waits until the runtime lists the key, enables
/// auto-launch whatever the user had chosen ([`ensure`] keeps the choice).
pub fn register(
    app_key: &str,
    manifest: &Path,
    loader: Option<&Path>,
) -> Result<Registration, Error> {
    registrar(
        sys::ostrel_register,
        "ostrel_register",
        app_key,
        manifest,
        loader,
    )
}

/// As `ostrel-register ensure`: nothing when the runtime lists the key (an
/// unfinished registration is finished), else registers, keeping the user's
/// recorded auto-launch choice. Other listed copies are left.
pub fn ensure(
    app_key: &str,
    manifest: &Path,
    loader: Option<&Path>,
) -> Result<Registration, Error> {
    registrar(
        sys::ostrel_ensure,
        "ostrel_ensure",
        app_key,
        manifest,
        loader,
    )
}

/// Removes the manifest.
pub fn unregister(
    app_key: &str,
    manifest: &Path,
    loader: Option<&Path>,
) -> Result<Registration, Error> {
    registrar(
        sys::ostrel_unregister,
        "ostrel_unregister",
        app_key,
        manifest,
        loader,
    )
}

/// `ostrel-register status --json`: what the runtime and its files say.
pub fn status_json(
    app_key: &str,
    manifest: Option<&Path>,
    loader: Option<&Path>,
) -> Result<Report<RegistrationState>, Error> {
    report(
        sys::ostrel_status_json,
        "ostrel_status_json",
        CodeSet::State,
        RegistrationState::from_code,
        (app_key, manifest, loader),
        true,
    )
}

/// `ostrel-register check --json`: the manifest as registering would judge
/// it. Needs no runtime.
pub fn check_json(app_key: &str, manifest: &Path) -> Result<Report<CheckOutcome>, Error> {
    report(
        sys::ostrel_check_json,
        "ostrel_check_json",
        CodeSet::Check,
        CheckOutcome::from_code,
        (app_key, Some(manifest), None),
        false,
    )
}

/// `ostrel-register repair --json`: removes the other listed copies that
/// declare the key, then registers this manifest, keeping the user's
/// recorded auto-launch choice.
pub fn repair_json(
    app_key: &str,
    manifest: &Path,
    loader: Option<&Path>,
) -> Result<Report<RepairOutcome>, Error> {
    report(
        sys::ostrel_repair_json,
        "ostrel_repair_json",
        CodeSet::Repair,
        RepairOutcome::from_code,
        (app_key, Some(manifest), loader),
        true,
    )
}

/// `ostrel-register doctor --json`: every registration on the machine judged
/// from the runtime's files. The runtime is not reached and nothing is
/// removed.
pub fn doctor_json() -> Result<Report<DoctorState>, Error> {
    let call = "ostrel_doctor_json";
    let mut text: *mut c_char = ptr::null_mut();
    // SAFETY: `text` receives the library's text or NULL.
    let code = unsafe { sys::ostrel_doctor_json(&mut text) };
    // SAFETY: NULL or the library's text, freed once.
    let json = unsafe { take_text(text) };
    if code < 0 {
        return Err(Error::new(code, call, None));
    }
    let outcome = outcome(code, call, CodeSet::Doctor, DoctorState::from_code)?;
    Ok(Report {
        outcome,
        json: json.unwrap_or_default(),
    })
}

// --- logging ------------------------------------------------------------------------

/// A log line's level (`OSTREL_LOG_*`).
#[derive(Clone, Copy, Debug, PartialEq, Eq, PartialOrd, Ord, Hash)]
pub enum LogLevel {
    Trace = 0,
    Debug = 1,
    Info = 2,
    Warn = 3,
    Error = 4,
    Fatal = 5,
}

impl LogLevel {
    fn from_code(code: c_int) -> LogLevel {
        match code {
            sys::OSTREL_LOG_TRACE => LogLevel::Trace,
            sys::OSTREL_LOG_DEBUG => LogLevel::Debug,
            sys::OSTREL_LOG_INFO => LogLevel::Info,
            sys::OSTREL_LOG_WARN => LogLevel::Warn,
            sys::OSTREL_LOG_ERROR => LogLevel::Error,
            _ => LogLevel::Fatal,
        }
    }
}

pub type LogSink = Box<dyn Fn(LogLevel, &str) + Send + Sync + 'static>;

// The sink the library calls, kept until the next call replaces it.
static LOG_SINK: Mutex<Option<Box<LogSink>>> = Mutex::new(None);

unsafe extern "C" fn log_line(level: c_int, message: *const c_char, user: *mut c_void) {
    // SAFETY: `user` is the sink kept in LOG_SINK while the library may call.
    let sink = &*(user as *const LogSink);
    let text = if message.is_null() {
        Default::default()
    } else {
        CStr::from_ptr(message).to_string_lossy()
    };
    let _ = panic::catch_unwind(AssertUnwindSafe(|| sink(LogLevel::from_code(level), &text)));
}

/// Sends every log line to `sink` (level and message, on whichever thread
/// logs, possibly several at once) instead of standard error; `None` puts
/// standard error back.
///
/// # Safety
/// As `ostrel.h` requires: no other function of the library may run on any
/// thread while this is called, a run begun with [`Startup::start`]
/// included; set it before the first other call. `sink` must not call into
/// this crate.
pub unsafe fn set_log_callback(sink: Option<LogSink>) -> Result<(), Error> {
    let mut kept = LOG_SINK
        .lock()
        .unwrap_or_else(|poisoned| poisoned.into_inner());
    let sink = sink.map(Box::new);
    let code = match &sink {
        Some(sink) => {
            sys::ostrel_set_log_callback(Some(log_line), &**sink as *const LogSink as *mut c_void)
        }
        None => sys::ostrel_set_log_callback(None, ptr::null_mut()),
    };
    if code != sys::OSTREL_OK {
        return Err(Error::new(code, "ostrel_set_log_callback", None));
    }
    // The library has let go of the sink it held before: free it.
    *kept = sink;
    Ok(())
}
