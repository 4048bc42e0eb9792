"""Keeps an application's SteamVR registration right, through libostrel.

The start-up call, at the application's start::

    import ostrel

    with ostrel.Startup("vantorell.ostrel") as startup:
        outcome = startup.run()
        print(outcome.name, startup.message)

With no manifest and no loader named, both are looked for beside the
program's main script (not beside python3): app.vrmanifest and the OpenVR
loader. ``status``, ``check`` and ``repair`` give the state and the report
ostrel-register prints for ``--json``, parsed; ``register``, ``ensure`` and
``unregister`` the registrar's result and its text.

Text goes to the library as UTF-8: a str holding a NUL or a lone surrogate is
refused with ValueError before the call. Misuse and failures inside the
library raise OstrelError; what happened in the world is returned, as one of
the enumerations below, numbered as ostrel.h numbers it.
"""
import ctypes
import enum
import json
import os
import sys
import threading

from . import _native

__all__ = [
    "version", "code_name", "Startup", "StartupOutcome", "RegisterResult",
    "RegistrationState", "CheckOutcome", "RepairOutcome", "DoctorState", "CodeSet", "OstrelError",
    "register", "ensure", "unregister", "status", "check", "repair", "doctor", "set_log_callback",
]


class StartupOutcome(enum.IntEnum):
    """What the start-up call did (OSTREL_STARTUP_*)."""
    ALREADY_REGISTERED = 0
    REGISTERED = 1
    REPAIRED = 2
    UNREACHABLE = 3
    FAILED = 4
    CANCELLED = 5


class RegisterResult(enum.IntEnum):
    """register, ensure, unregister (OSTREL_RESULT_*)."""
    SUCCESS = 0
    ADD_FAILED = 1
    POLL_TIMEOUT = 2
    AUTO_LAUNCH_FAILED = 3
    REMOVE_FAILED = 4
    UNREACHABLE = 5


class RegistrationState(enum.IntEnum):
    """What status says (OSTREL_STATE_*)."""
    REGISTERED = 0
    STALE = 1
    NOT_REGISTERED = 2
    UNKNOWN = 3


class CheckOutcome(enum.IntEnum):
    """The manifest check (OSTREL_CHECK_*)."""
    CLEAN = 0
    ERRORS = 1


class RepairOutcome(enum.IntEnum):
    """What repair did (OSTREL_REPAIR_*)."""
    DONE = 0
    CHECK_FAILED = 1
    UNREACHABLE = 2
    REMOVAL_REFUSED = 3
    REGISTRATION_FAILED = 4


class DoctorState(enum.IntEnum):
    """What the doctor found over every registration (OSTREL_DOCTOR_*)."""
    CLEAN = 0
    PROBLEMS = 1
    UNREADABLE = 2


class CodeSet(enum.IntEnum):
    """The sets code_name names (OSTREL_CODES_*)."""
    PLAIN = 0
    STARTUP = 1
    RESULT = 2
    STATE = 3
    CHECK = 4
    REPAIR = 5
    DOCTOR = 6


class OstrelError(Exception):
    """A negative code from the library: misuse, or a failure inside it."""
    INVALID_ARGUMENT = -1
    OUT_OF_MEMORY = -2
    INVALID_STATE = -3
    INTERNAL = -4

    def __init__(self, code, what, why=None):
        self.code = code
        self.name = code_name(CodeSet.PLAIN, code)
        super().__init__(f"{what} failed: {self.name}" + (f" ({why})" if why else ""))


_library = None
_library_lock = threading.Lock()


def _lib():
    """The library, loaded once, its program folder set to the main script's."""
    global _library
    with _library_lock:
        if _library is None:
            library = _native.load()
            folder = _program_folder()
            if folder is not None:
                _check(library.ostrel_set_program_folder(_utf8(folder, "folder")),
                       "ostrel_set_program_folder")
            _library = library
        return _library


def _program_folder():
    """The folder of the program's main script; the working folder when
    there is none (an interactive session)."""
    main = sys.modules.get("__main__")
    script = getattr(main, "__file__", None)
    if script:
        return os.path.dirname(os.path.abspath(script))
    return os.getcwd()


def _utf8(text, name):
    if text is None:
        return None
    if not isinstance(text, str):
        text = os.fspath(text)
    if "\0" in text:
        raise ValueError(f"{name} holds a NUL character at {text.index(chr(0))}, "
                         "which would end it there")
    # A lone surrogate cannot be encoded: UnicodeEncodeError, a ValueError.
    return text.encode("utf-8")


def _check(code, what, why=None):
    if code < 0:
        raise OstrelError(code, what, why)
    return code


def _take_text(pointer):
    """Text the library handed out, read and given back."""
    if not pointer.value:
        return None
    try:
        return ctypes.string_at(pointer.value).decode("utf-8")
    finally:
        _lib().ostrel_free(pointer)


def version():
    """"MAJOR.MINOR.PATCH" of the library."""
    return _lib().ostrel_version().decode("utf-8")


def code_name(code_set, code):
    """The name ostrel.h gives `code` in `code_set` (a CodeSet)."""
    library = _library if _library is not None else _lib()
    return library.ostrel_code_name(int(code_set), int(code)).decode("utf-8")


# The start-up handles whose work may still call back, by the key handed to
# the library as the callback's user pointer.
_pending = {}
_pending_lock = threading.Lock()
_next_key = [1]


@_native.STARTUP_DONE
def _startup_done(_handle, outcome, user):
    with _pending_lock:
        startup, callback = _pending.pop(user, (None, None))
    if startup is not None:
        startup._finished()
    if callback is not None:
        try:
            callback(StartupOutcome(outcome) if outcome >= 0 else outcome)
        except Exception:  # pylint: disable=broad-except
            # Nothing may unwind into the library's thread.
            pass


class Startup:
    """The start-up call, once per handle.

    run() blocks the calling thread; cancel() may come from any other thread
    meanwhile. start(callback) runs it on the library's thread, callback
    (may be None) then receiving the outcome there; wait() blocks until it
    is done. close() (or leaving the with block) after start() cancels and
    waits for the work.
    """

    _IDLE, _RUNNING, _DONE = range(3)

    def __init__(self, app_key, manifest_path=None, loader_path=None):
        if app_key is None:
            raise ValueError("app_key is required")
        arguments = (_utf8(app_key, "app_key"), _utf8(manifest_path, "manifest_path"),
                     _utf8(loader_path, "loader_path"))
        handle = ctypes.c_void_p()
        _check(_lib().ostrel_startup_create(*arguments, ctypes.byref(handle)),
               "ostrel_startup_create")
        self._handle = handle
        self._phase = Startup._IDLE
        self._phase_lock = threading.Lock()

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def __del__(self):
        self.close()

    def close(self):
        """Frees the handle, after cancelling and waiting for a started run."""
        handle, self._handle = getattr(self, "_handle", None), None
        if handle:
            _lib().ostrel_startup_destroy(handle)

    def _begin(self, what):
        with self._phase_lock:
            if self._phase == Startup._RUNNING:
                raise OstrelError(OstrelError.INVALID_STATE, what,
                                  "the handle is running: wait for it, or cancel it")
            if self._phase == Startup._DONE:
                raise OstrelError(OstrelError.INVALID_STATE, what,
                                  "the handle has already run: make a new Startup")
            self._phase = Startup._RUNNING

    def _finished(self):
        with self._phase_lock:
            self._phase = Startup._DONE

    def _live(self):
        if not self._handle:
            raise OstrelError(OstrelError.INVALID_STATE, "Startup", "the handle is closed")
        return self._handle

    def run(self):
        """Does the work, blocking until it is done; the StartupOutcome."""
        handle = self._live()
        self._begin("run")
        outcome = _check(_lib().ostrel_startup_run(handle), "ostrel_startup_run")
        self._finished()
        return StartupOutcome(outcome)

    def start(self, callback=None):
        """Returns at once with the work on the library's thread."""
        handle = self._live()
        self._begin("start")
        with _pending_lock:
            key = _next_key[0]
            _next_key[0] += 1
            _pending[key] = (self, callback)
        code = _lib().ostrel_startup_start(handle, _startup_done, key)
        if code < 0:
            with _pending_lock:
                _pending.pop(key, None)
            with self._phase_lock:
                self._phase = Startup._IDLE
            _check(code, "ostrel_startup_start")

    def wait(self):
        """Blocks until the run is done; its StartupOutcome."""
        code = _lib().ostrel_startup_wait(self._live())
        if code == OstrelError.INVALID_STATE:
            _check(code, "ostrel_startup_wait", "the handle has not run yet: call run or start")
        outcome = _check(code, "ostrel_startup_wait")
        self._finished()
        return StartupOutcome(outcome)

    def cancel(self):
        """Stops the run under way at its next wait, or the run to come."""
        if self._handle:
            _lib().ostrel_startup_cancel(self._handle)

    @property
    def message(self):
        """What the run did, for a person; "" until it is done."""
        text = _lib().ostrel_startup_message(self._live())
        return text.decode("utf-8") if text is not None else ""


def _text_call(function, what, app_key, manifest_path, loader_path):
    arguments = (_utf8(app_key, "app_key"), _utf8(manifest_path, "manifest_path"),
                 _utf8(loader_path, "loader_path"))
    text = ctypes.c_void_p()
    code = getattr(_lib(), function)(*arguments, ctypes.byref(text))
    taken = _take_text(text)
    return _check(code, what), taken


def register(app_key, manifest_path, loader_path=None):
    """Adds the manifest, waits until it is listed, switches auto-launch on:
    (RegisterResult, the failure's text or None)."""
    code, text = _text_call("ostrel_register", "ostrel_register", app_key, manifest_path,
                            loader_path)
    return RegisterResult(code), text


def ensure(app_key, manifest_path, loader_path=None):
    """As the command's ensure, keeping the user's auto-launch choice:
    (RegisterResult, the failure's text or None)."""
    code, text = _text_call("ostrel_ensure", "ostrel_ensure", app_key, manifest_path, loader_path)
    return RegisterResult(code), text


def unregister(app_key, manifest_path, loader_path=None):
    """Removes the manifest: (RegisterResult, the failure's text or None)."""
    code, text = _text_call("ostrel_unregister", "ostrel_unregister", app_key, manifest_path,
                            loader_path)
    return RegisterResult(code), text


def status(app_key, manifest_path=None, loader_path=None):
    """(RegistrationState, the status report as a dict)."""
    code, text = _text_call("ostrel_status_json", "ostrel_status_json", app_key, manifest_path,
                            loader_path)
    return RegistrationState(code), json.loads(text)


def check(app_key, manifest_path):
    """(CheckOutcome, the check's report as a dict); needs no runtime."""
    code, text = _text_call("ostrel_check_json", "ostrel_check_json", app_key, manifest_path, None)
    return CheckOutcome(code), json.loads(text)


def repair(app_key, manifest_path, loader_path=None):
    """(RepairOutcome, the repair's report as a dict)."""
    code, text = _text_call("ostrel_repair_json", "ostrel_repair_json", app_key, manifest_path,
                            loader_path)
    return RepairOutcome(code), json.loads(text)


def doctor():
    """(DoctorState, the doctor's report as a dict): every registration on the
    machine judged from the runtime's files; the runtime is not reached."""
    text = ctypes.c_void_p()
    code = _lib().ostrel_doctor_json(ctypes.byref(text))
    taken = _take_text(text)
    return DoctorState(_check(code, "ostrel_doctor_json")), json.loads(taken)


# The callback the library holds, kept for as long as it may be called.
_log_callback = None


def set_log_callback(callback):
    """Sends the library's log lines to callback(level, message), on whichever
    thread logs; None puts the console back. Set it before any other call,
    while no other call runs."""
    global _log_callback
    native = _native.LOG_CALLBACK()
    if callback is not None:
        def forward(level, message, _user):
            try:
                callback(level, message.decode("utf-8", "replace"))
            except Exception:  # pylint: disable=broad-except
                pass
        native = _native.LOG_CALLBACK(forward)
    _check(_lib().ostrel_set_log_callback(native, None), "ostrel_set_log_callback")
    _log_callback = native
