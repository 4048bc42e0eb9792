#!/usr/bin/env python3
"""The start-up call and the status report from Python, with the ostrel module
beside this script.

    python3 ostrel_example.py APP_KEY [MANIFEST [LOADER]]

The module finds libostrel beside itself, else where OSTREL_LIBRARY names it,
else by the system's search. Prints the library's version, what the start-up
call did and the state the status report gives; exits with the start-up
outcome (0 already registered, 1 registered, 2 repaired, 3 unreachable,
4 failed, 5 cancelled).
"""
import sys

import ostrel


def main(argv):
    if not 2 <= len(argv) <= 4:
        print(__doc__, file=sys.stderr)
        return 64
    key, manifest, loader = (argv[1:] + [None, None])[:3]
    print("ostrel", ostrel.version())
    ostrel.set_log_callback(lambda level, message: print(f"log {level}: {message}",
                                                         file=sys.stderr))
    try:
        with ostrel.Startup(key, manifest, loader) as startup:
            outcome = startup.run()
            print(f"{outcome.name.lower().replace('_', '-')}: {startup.message}")
        state, report = ostrel.status(key, manifest, loader)
        print(f"status: {report['state']} ({state.name})")
        return int(outcome)
    finally:
        ostrel.set_log_callback(None)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
