"""Finding libostrel and declaring its functions for ctypes.

The library is looked for beside this package first (a wheel ships it
there), then at the path the OSTREL_LIBRARY environment variable names, then
by the system's own search.
"""
import ctypes
import ctypes.util
import os
import sys

TEXT = ctypes.c_char_p
HANDLE = ctypes.c_void_p
OUT_TEXT = ctypes.POINTER(ctypes.c_void_p)
OUT_HANDLE = ctypes.POINTER(ctypes.c_void_p)

LOG_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p)
STARTUP_DONE = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_int, ctypes.c_void_p)

# Each function: its result type, then its parameters'. Text the library
# hands out for the caller is a plain pointer, so it can go back to
# ostrel_free.
SIGNATURES = {
    "ostrel_version": (TEXT, []),
    "ostrel_free": (None, [HANDLE]),
    "ostrel_code_name": (TEXT, [ctypes.c_int, ctypes.c_int]),
    "ostrel_set_program_folder": (ctypes.c_int, [TEXT]),
    "ostrel_startup_create": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_HANDLE]),
    "ostrel_startup_run": (ctypes.c_int, [HANDLE]),
    "ostrel_startup_start": (ctypes.c_int, [HANDLE, STARTUP_DONE, ctypes.c_void_p]),
    "ostrel_startup_wait": (ctypes.c_int, [HANDLE]),
    "ostrel_startup_cancel": (None, [HANDLE]),
    "ostrel_startup_message": (TEXT, [HANDLE]),
    "ostrel_startup_destroy": (None, [HANDLE]),
    "ostrel_register": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_TEXT]),
    "ostrel_ensure": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_TEXT]),
    "ostrel_unregister": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_TEXT]),
    "ostrel_status_json": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_TEXT]),
    "ostrel_check_json": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_TEXT]),
    "ostrel_repair_json": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_TEXT]),
    "ostrel_doctor_json": (ctypes.c_int, [OUT_TEXT]),
    "ostrel_set_log_callback": (ctypes.c_int, [LOG_CALLBACK, ctypes.c_void_p]),
}

if sys.platform == "win32":
    FILE_NAMES = ["ostrel.dll"]
elif sys.platform == "darwin":
    FILE_NAMES = ["libostrel.1.dylib", "libostrel.dylib"]
else:
    FILE_NAMES = ["libostrel.so.1", "libostrel.so"]


def _candidates():
    here = os.path.dirname(os.path.abspath(__file__))
    for name in FILE_NAMES:
        yield os.path.join(here, name)
    named = os.environ.get("OSTREL_LIBRARY")
    if named:
        yield named
    found = ctypes.util.find_library("ostrel")
    yield from ([found] if found else [])
    yield from FILE_NAMES


def load():
    """The library with every function declared; OSError naming every place tried."""
    tried = []
    for candidate in _candidates():
        beside_or_named = os.path.isabs(candidate)
        if beside_or_named and not os.path.exists(candidate):
            tried.append(f"{candidate} (not there)")
            continue
        try:
            library = ctypes.CDLL(candidate)
        except OSError as error:
            tried.append(f"{candidate} ({error})")
            continue
        for name, (result, parameters) in SIGNATURES.items():
            function = getattr(library, name)
            function.restype = result
            function.argtypes = parameters
        return library
    raise OSError("the ostrel library was not found; tried " + "; ".join(tried))
