"""The ostrel module against the built library and the stand-in loader in its
stateful mode, which keeps the runtime's registry files in a folder of the
test's own.

    OSTREL_LIBRARY=<libostrel.so> OSTREL_TEST_LOADER=<stand-in> \
    OSTREL_TEST_WORK=<folder> PYTHONPATH=bindings/python \
        python3 -m unittest discover -s bindings/python/tests
"""
import ctypes
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import threading
import unittest

import ostrel

KEY = "vantorell.ostrel"
LOADER = os.environ["OSTREL_TEST_LOADER"]
WORK = os.environ["OSTREL_TEST_WORK"]
# The library keeps the loader it loaded for the life of the process, so the
# stand-in is told what to do through its own controls, not its environment.
STAND_IN = ctypes.CDLL(LOADER)
STAND_IN.OstrelFakeLoader_SetInitError.argtypes = [ctypes.c_int32]


def install(folder, key=KEY):
    """A manifest the check passes, and its binaries, in `folder`."""
    os.makedirs(folder, exist_ok=True)
    for name in ("ostrel", "Ostrel.exe"):
        path = os.path.join(folder, name)
        with open(path, "w", encoding="utf-8"):
            pass
        os.chmod(path, stat.S_IRWXU)
    manifest = os.path.join(folder, "app.vrmanifest")
    with open(manifest, "w", encoding="utf-8") as out:
        json.dump({"applications": [{
            "app_key": key, "launch_type": "binary", "binary_path_linux": "ostrel",
            "binary_path_windows": "Ostrel.exe", "is_dashboard_overlay": True,
            "strings": {"en_us": {"name": "Ostrel"}}}]}, out)
    return manifest


class Runtime(unittest.TestCase):
    """Each test with a fresh runtime of its own."""

    def setUp(self):
        os.makedirs(WORK, exist_ok=True)
        self.folder = tempfile.mkdtemp(dir=WORK)
        self.config = os.path.join(self.folder, "config")
        os.environ["OSTREL_FAKE_LOADER_CONFIG_DIR"] = self.config
        os.environ["VR_PATHREG_OVERRIDE"] = os.path.join(self.folder, "openvrpaths.vrpath")
        os.environ["OSTREL_FAKE_LOADER_SCRIPT"] = ""
        for name in ("VR_CONFIG_PATH", "VR_OVERRIDE", "OSTREL_FAKE_LOADER_CALL_LOG"):
            os.environ.pop(name, None)
        STAND_IN.OstrelFakeLoader_Reset()
        self.ours = install(os.path.join(self.folder, "Games", "Ostrel"))

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def listed(self):
        path = os.path.join(self.config, "appconfig.json")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as listing:
            return json.load(listing).get("manifest_paths", [])


class Version(unittest.TestCase):
    def test_the_version_is_the_headers_and_every_code_has_a_name(self):
        self.assertRegex(ostrel.version(), r"^1\.\d+\.\d+$")
        for code_set, enumeration in ((ostrel.CodeSet.STARTUP, ostrel.StartupOutcome),
                                      (ostrel.CodeSet.RESULT, ostrel.RegisterResult),
                                      (ostrel.CodeSet.STATE, ostrel.RegistrationState),
                                      (ostrel.CodeSet.CHECK, ostrel.CheckOutcome),
                                      (ostrel.CodeSet.REPAIR, ostrel.RepairOutcome),
                                      (ostrel.CodeSet.DOCTOR, ostrel.DoctorState)):
            for member in enumeration:
                self.assertTrue(ostrel.code_name(code_set, member).endswith("_" + member.name),
                                (code_set, member))
            for failure in (-1, -2, -3, -4):
                self.assertTrue(ostrel.code_name(code_set, failure).startswith("OSTREL_E_"))


class StartupCall(Runtime):
    def test_a_first_start_registers_and_the_next_finds_it_right(self):
        with ostrel.Startup(KEY, self.ours, LOADER) as startup:
            self.assertEqual(startup.message, "")
            self.assertEqual(startup.run(), ostrel.StartupOutcome.REGISTERED)
            self.assertIn(f"registered {KEY} from {self.ours}", startup.message)
        self.assertEqual(self.listed(), [self.ours])
        with ostrel.Startup(KEY, self.ours, LOADER) as startup:
            self.assertEqual(startup.run(), ostrel.StartupOutcome.ALREADY_REGISTERED)

        state, report = ostrel.status(KEY, self.ours, LOADER)
        self.assertEqual(state, ostrel.RegistrationState.REGISTERED)
        self.assertEqual(report["state"], "registered")
        self.assertEqual(report["exit_status"], 0)
        self.assertIs(report["auto_launch"], True)

    def test_started_on_the_librarys_thread_the_callback_and_wait_agree(self):
        told = []
        done = threading.Event()

        def on_done(outcome):
            told.append(outcome)
            done.set()

        with ostrel.Startup(KEY, self.ours, LOADER) as startup:
            startup.start(on_done)
            outcome = startup.wait()
            self.assertTrue(done.wait(10))
        self.assertEqual(told, [outcome])
        self.assertEqual(outcome, ostrel.StartupOutcome.REGISTERED)

    def test_a_handle_runs_once_and_says_why_not_again(self):
        with ostrel.Startup(KEY, self.ours, LOADER) as startup:
            with self.assertRaisesRegex(ostrel.OstrelError, "not run yet"):
                startup.wait()
            startup.cancel()
            self.assertEqual(startup.run(), ostrel.StartupOutcome.CANCELLED)
            with self.assertRaisesRegex(ostrel.OstrelError, "already run") as raised:
                startup.run()
            self.assertEqual(raised.exception.code, ostrel.OstrelError.INVALID_STATE)
        self.assertEqual(self.listed(), [])

    def test_log_lines_reach_the_callback(self):
        lines = []
        ostrel.set_log_callback(lambda level, message: lines.append((level, message)))
        try:
            with ostrel.Startup(KEY, self.ours, LOADER) as startup:
                startup.run()
        finally:
            ostrel.set_log_callback(None)
        self.assertIn((2, f"manifest registered + auto-launch enabled: {KEY}"), lines)


class Commands(Runtime):
    def test_a_moved_install_is_repaired_and_another_applications_entry_kept(self):
        old = install(os.path.join(self.folder, "Old", "Ostrel"))
        other = install(os.path.join(self.folder, "Games", "Other"), "other.app")
        self.assertEqual(ostrel.register("other.app", other, LOADER)[0],
                         ostrel.RegisterResult.SUCCESS)
        self.assertEqual(ostrel.register(KEY, old, LOADER), (ostrel.RegisterResult.SUCCESS, None))
        self.assertEqual(ostrel.status(KEY, self.ours, LOADER)[0], ostrel.RegistrationState.STALE)
        outcome, report = ostrel.repair(KEY, self.ours, LOADER)
        self.assertEqual(outcome, ostrel.RepairOutcome.DONE)
        self.assertEqual(report["removed"], [old])
        self.assertEqual(self.listed(), [other, self.ours])

    def test_the_doctor_judges_every_listed_manifest_and_names_the_dead(self):
        other = install(os.path.join(self.folder, "Games", "Other"), "other.app")
        self.assertEqual(ostrel.register("other.app", other, LOADER)[0],
                         ostrel.RegisterResult.SUCCESS)
        self.assertEqual(ostrel.register(KEY, self.ours, LOADER)[0], ostrel.RegisterResult.SUCCESS)
        state, report = ostrel.doctor()
        self.assertEqual(state, ostrel.DoctorState.CLEAN, report)
        self.assertEqual([m["path"] for m in report["manifests"]], [other, self.ours])
        shutil.rmtree(os.path.dirname(other))
        state, report = ostrel.doctor()
        self.assertEqual(state, ostrel.DoctorState.PROBLEMS)
        self.assertEqual(report["exit_status"], 5)
        self.assertIn("file-missing", [f["code"] for f in report["manifests"][0]["findings"]])
        self.assertEqual(self.listed(), [other, self.ours], "the doctor only reads")

    def test_check_needs_no_runtime_and_names_its_findings(self):
        outcome, report = ostrel.check(KEY, os.path.join(self.folder, "Absent", "app.vrmanifest"))
        self.assertEqual(outcome, ostrel.CheckOutcome.ERRORS)
        self.assertEqual(report["exit_status"], 5)
        self.assertEqual([f["code"] for f in report["findings"] if f["severity"] == "error"],
                         ["file-missing"])
        self.assertEqual(ostrel.check(KEY, self.ours)[0], ostrel.CheckOutcome.CLEAN)

    def test_an_unreachable_runtime_is_a_result_not_an_error(self):
        STAND_IN.OstrelFakeLoader_SetInitError(108)
        result, text = ostrel.ensure(KEY, self.ours, LOADER)
        self.assertEqual(result, ostrel.RegisterResult.UNREACHABLE)
        self.assertIn("VRInitError_Init_HmdNotFound (108)", text)
        self.assertEqual(ostrel.repair(KEY, self.ours, LOADER)[0], ostrel.RepairOutcome.UNREACHABLE)

    def test_text_the_library_cannot_take_whole_is_refused_before_the_call(self):
        with self.assertRaises(ValueError):
            ostrel.Startup("vantorell\0.ostrel")
        with self.assertRaises(ValueError):
            ostrel.check(KEY, "app\ud800.vrmanifest")
        with self.assertRaises(ostrel.OstrelError) as refused:
            ostrel.status("vantorell ostrel")
        self.assertEqual(refused.exception.code, ostrel.OstrelError.INVALID_ARGUMENT)
        self.assertEqual(refused.exception.name, "OSTREL_E_INVALID_ARGUMENT")
        self.assertEqual(self.listed(), [])


class Defaults(Runtime):
    def test_the_defaults_are_beside_the_main_script_wherever_it_is_started(self):
        program = os.path.join(self.folder, "program")
        manifest = install(program)
        shutil.copy(LOADER, program)
        script = os.path.join(program, "start.py")
        with open(script, "w", encoding="utf-8") as out:
            out.write("import ostrel\n"
                      f"with ostrel.Startup({KEY!r}) as startup:\n"
                      "    print(startup.run().name, startup.message)\n")
        elsewhere = os.path.join(self.folder, "elsewhere")
        os.makedirs(elsewhere)
        environment = dict(os.environ)
        environment["PYTHONPATH"] = os.path.dirname(os.path.dirname(ostrel.__file__))
        ran = subprocess.run([sys.executable, script], cwd=elsewhere, env=environment,
                             capture_output=True, text=True, timeout=120, check=False)
        self.assertEqual(ran.returncode, 0, ran.stderr)
        self.assertIn(f"REGISTERED registered {KEY} from {manifest}", ran.stdout)


if __name__ == "__main__":
    unittest.main()
