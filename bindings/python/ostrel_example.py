#!/usr/bin/env python3
"""The start-up call and the status report from Python, through ctypes.

    python3 ostrel_example.py LIBRARY APP_KEY [MANIFEST [LOADER]]

LIBRARY is the path of libostrel.so or ostrel.dll. Prints the library's
version, what the start-up call did, and the state the status report
gives; exits with the start-up outcome (0 already registered, 1 registered,
2 repaired, 3 unreachable, 4 failed, 5 cancelled).
"""
import ctypes
import json
import sys

LOG_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p)
OUTCOMES = ["already-registered", "registered", "repaired", "unreachable", "failed", "cancelled"]


TEXT = ctypes.c_char_p
HANDLE = ctypes.c_void_p
OUT_POINTER = ctypes.POINTER(ctypes.c_void_p)

# Each function this example calls: its result type, then its parameters'.
# Output text (the JSON) is library memory: taken as a plain pointer, not as
# TEXT, so that it can be given back to ostrel_free.
SIGNATURES = {
    "ostrel_version": (TEXT, []),
    "ostrel_free": (None, [HANDLE]),
    "ostrel_startup_create": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_POINTER]),
    "ostrel_startup_run": (ctypes.c_int, [HANDLE]),
    "ostrel_startup_message": (TEXT, [HANDLE]),
    "ostrel_startup_destroy": (None, [HANDLE]),
    "ostrel_status_json": (ctypes.c_int, [TEXT, TEXT, TEXT, OUT_POINTER]),
    "ostrel_set_log_callback": (ctypes.c_int, [LOG_CALLBACK, ctypes.c_void_p]),
}


def load(path):
    lib = ctypes.CDLL(path)
    for name, (result, parameters) in SIGNATURES.items():
        function = getattr(lib, name)
        function.restype = result
        function.argtypes = parameters
    return lib


def utf8(text):
    return None if text is None else text.encode("utf-8")


def main(argv):
    if len(argv) < 3 or len(argv) > 5:
        print(__doc__, file=sys.stderr)
        return 64
    lib = load(argv[1])
    key = argv[2]
    manifest = argv[3] if len(argv) > 3 else None
    loader = argv[4] if len(argv) > 4 else None
    print("ostrel", lib.ostrel_version().decode("utf-8"))

    # Kept in a variable for as long as the library may call it.
    @LOG_CALLBACK
    def on_log(level, message, _user):
        print(f"log {level}: {message.decode('utf-8', 'replace')}", file=sys.stderr)

    lib.ostrel_set_log_callback(on_log, None)
    try:
        handle = ctypes.c_void_p()
        status = lib.ostrel_startup_create(utf8(key), utf8(manifest), utf8(loader),
                                           ctypes.byref(handle))
        if status != 0:
            print(f"ostrel_startup_create failed: {status}", file=sys.stderr)
            return 100
        try:
            outcome = lib.ostrel_startup_run(handle)
            message = lib.ostrel_startup_message(handle).decode("utf-8")
        finally:
            lib.ostrel_startup_destroy(handle)
        name = OUTCOMES[outcome] if 0 <= outcome < len(OUTCOMES) else str(outcome)
        print(f"{name}: {message}")

        text = ctypes.c_void_p()
        exit_status = lib.ostrel_status_json(utf8(key), utf8(manifest), utf8(loader),
                                             ctypes.byref(text))
        if text.value:
            report = json.loads(ctypes.string_at(text).decode("utf-8"))
            lib.ostrel_free(text)
            print(f"status: {report['state']} (exit status {exit_status})")
        return outcome
    finally:
        lib.ostrel_set_log_callback(LOG_CALLBACK(), None)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
