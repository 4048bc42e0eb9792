"""The ostrel module as a wheel installs it, driven as the C client is
(packaging/packages/tests/PackageTest.cmake):

    python ostrel_client.py version
    python ostrel_client.py startup|async|cancel|status KEY MANIFEST LOADER

Log lines go to standard error as "log <level>: <message>".
"""
import json
import sys
import threading
import time

import ostrel


def action(outcome):
    return outcome.name.lower().replace("_", "-")


def report(startup, outcome):
    print(f"{action(outcome)} ({int(outcome)}): {startup.message}")
    return int(outcome)


def run(command, key, manifest, loader):
    if command == "startup":
        with ostrel.Startup(key, manifest, loader) as startup:
            return report(startup, startup.run())
    if command == "async":
        told = []
        called = threading.Event()

        def on_done(outcome):
            told.append(outcome)
            called.set()

        with ostrel.Startup(key, manifest, loader) as startup:
            startup.start(on_done)
            waited = startup.wait()
            message = startup.message
        # Leaving the block waited for the library's thread: it has called back.
        if not called.is_set() or told != [waited]:
            print(f"the callback was told {told}, wait returned {waited}")
            return 100
        print(f"callback ({int(told[0])}): {message}")
        print(f"{action(waited)} ({int(waited)})")
        return int(waited)
    if command == "cancel":
        with ostrel.Startup(key, manifest, loader) as startup:
            outcome = []
            worker = threading.Thread(target=lambda: outcome.append(startup.run()))
            worker.start()
            time.sleep(0.7)
            startup.cancel()
            worker.join()
            return report(startup, outcome[0])
    if command == "status":
        state, status = ostrel.status(key, manifest, loader)
        print(json.dumps(status))
        return int(state)
    print(f"unknown command {command}", file=sys.stderr)
    return 64


def main(argv):
    if argv[1:] == ["version"]:
        print(ostrel.version())
        # Which module answered: the test checks it is the installed wheel's.
        print(f"module: {ostrel.__file__}", file=sys.stderr)
        return 0
    if len(argv) != 5:
        print(__doc__, file=sys.stderr)
        return 64
    ostrel.set_log_callback(lambda level, message: print(f"log {level}: {message}",
                                                         file=sys.stderr))
    try:
        return run(*argv[1:])
    finally:
        ostrel.set_log_callback(None)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
