// Ostrel for .NET and Unity: keeps the application's SteamVR registration
// right through the native library (ostrel.dll on Windows, libostrel.so
// elsewhere). Drop this one file into the project and ship the library
// beside the application (Unity: Assets/Plugins/x86_64/).
//
// Text crosses as UTF-8 both ways, whatever the platform's ANSI code page;
// text the native side cannot take whole (an embedded NUL, an unpaired
// surrogate) is refused with an ArgumentException before any call. Misuse
// and failures inside the library (the native side's negative codes) become
// an OstrelException; what happened in the world is returned, each function
// with its own enumeration, numbered as ostrel.h numbers it.
//
// The defaults (app.vrmanifest, the OpenVR loader) are looked for beside the
// application's own files (AppContext.BaseDirectory), not beside mono or
// dotnet: the binding tells the library so before its first call.
using System;
using System.IO;
using System.Reflection;
using System.Runtime.InteropServices;
using System.Text;
using System.Threading;
using Microsoft.Win32.SafeHandles;

namespace Ostrel
{
    /// <summary>What the start-up call did (OSTREL_STARTUP_*).</summary>
    public enum StartupOutcome
    {
        AlreadyRegistered = 0,
        Registered = 1,
        Repaired = 2,
        Unreachable = 3,
        Failed = 4,
        Cancelled = 5,
    }

    /// <summary>Register, Ensure, Unregister (OSTREL_RESULT_*).</summary>
    public enum RegisterResult
    {
        Success = 0,
        AddFailed = 1,
        PollTimeout = 2,
        AutoLaunchFailed = 3,
        RemoveFailed = 4,
        Unreachable = 5,
    }

    /// <summary>What the status report says (OSTREL_STATE_*).</summary>
    public enum RegistrationState
    {
        Registered = 0,
        Stale = 1,
        NotRegistered = 2,
        Unknown = 3,
    }

    /// <summary>The manifest check (OSTREL_CHECK_*).</summary>
    public enum CheckOutcome
    {
        Clean = 0,
        Errors = 1,
    }

    /// <summary>What the repair did (OSTREL_REPAIR_*).</summary>
    public enum RepairOutcome
    {
        Done = 0,
        CheckFailed = 1,
        Unreachable = 2,
        RemovalRefused = 3,
        RegistrationFailed = 4,
    }

    /// <summary>What the doctor found over every registration (OSTREL_DOCTOR_*).</summary>
    public enum DoctorState
    {
        Clean = 0,
        Problems = 1,
        Unreadable = 2,
    }

    /// <summary>The sets ostrel_code_name names (OSTREL_CODES_*).</summary>
    public enum CodeSet
    {
        Plain = 0,
        Startup = 1,
        Result = 2,
        State = 3,
        Check = 4,
        Repair = 5,
        Doctor = 6,
    }

    public enum LogLevel { Trace = 0, Debug = 1, Info = 2, Warn = 3, Error = 4, Fatal = 5 }

    /// <summary>A negative code from the native library: misuse, or a failure inside it.</summary>
    public sealed class OstrelException : Exception
    {
        public const int InvalidArgument = -1;
        public const int OutOfMemory = -2;
        public const int InvalidState = -3;
        public const int Internal = -4;

        public int Status { get; private set; }

        public OstrelException(int status, string message) : base(message) { Status = status; }

        /// <summary>
        /// <paramref name="status"/> when it is not negative; otherwise throws, with
        /// <paramref name="why"/> (when given) saying what the code means here.
        /// </summary>
        internal static int Check(int status, string what, string why = null)
        {
            if (status >= 0) return status;
            throw new OstrelException(status, what + " failed: " + Library.CodeName(CodeSet.Plain, status) +
                                                  (why != null ? " (" + why + ")" : ""));
        }
    }

    /// <summary>Owns one ostrel_startup handle; destroyed exactly once.</summary>
    public sealed class StartupHandle : SafeHandleZeroOrMinusOneIsInvalid
    {
        StartupHandle() : base(true) { }

        protected override bool ReleaseHandle()
        {
            Native.ostrel_startup_destroy(handle);
            return true;
        }
    }

    /// <summary>
    /// The start-up call, once per handle. Run blocks the calling thread; Cancel
    /// may be called from any other thread meanwhile. Start runs it on the
    /// library's thread; Wait blocks until it is done. Dispose after Start
    /// cancels and waits for the work.
    /// </summary>
    public sealed class Startup : IDisposable
    {
        const int Idle = 0, Running = 1, Done = 2;

        readonly StartupHandle handle_;
        int phase_ = Idle;

        /// <param name="manifestPath">null: app.vrmanifest beside the application.</param>
        /// <param name="loaderPath">null: openvr_api beside the application, then the system's search.</param>
        public Startup(string appKey, string manifestPath = null, string loaderPath = null)
        {
            if (appKey == null) throw new ArgumentNullException("appKey");
            byte[] key = Utf8.ToNative(appKey, "appKey");
            byte[] manifest = Utf8.ToNative(manifestPath, "manifestPath");
            byte[] loader = Utf8.ToNative(loaderPath, "loaderPath");
            Library.PrepareDefaults();
            StartupHandle created;
            OstrelException.Check(Native.ostrel_startup_create(key, manifest, loader, out created),
                                  "ostrel_startup_create");
            handle_ = created;
        }

        public StartupOutcome Run()
        {
            Begin("Run");
            int outcome = Native.ostrel_startup_run(handle_);
            if (outcome >= 0) Volatile.Write(ref phase_, Done);
            return (StartupOutcome)OstrelException.Check(outcome, "ostrel_startup_run");
        }

        /// <summary>
        /// Returns at once with the work on the library's own thread;
        /// <paramref name="onDone"/> (may be null) is called there with the
        /// outcome, possibly after Wait has returned and while Dispose waits
        /// for it: it must not use this object.
        /// </summary>
        public void Start(Action<StartupOutcome> onDone)
        {
            Begin("Start");
            // The callback's own state is pinned until the library has called
            // it; the native callback itself is one static delegate that lives
            // as long as the process.
            var pending = new Pending { Owner = this, OnDone = onDone };
            GCHandle pinned = GCHandle.Alloc(pending);
            int status = Native.ostrel_startup_start(handle_, Native.StartupDoneCallback,
                                                     GCHandle.ToIntPtr(pinned));
            if (status < 0)
            {
                // Refused: the library will never call back.
                pinned.Free();
                Interlocked.CompareExchange(ref phase_, Idle, Running);
                OstrelException.Check(status, "ostrel_startup_start");
            }
        }

        public StartupOutcome Wait()
        {
            int outcome = Native.ostrel_startup_wait(handle_);
            if (outcome == OstrelException.InvalidState)
                OstrelException.Check(outcome, "ostrel_startup_wait", "the handle has not run yet: call Run or Start first");
            if (outcome >= 0) Volatile.Write(ref phase_, Done);
            return (StartupOutcome)OstrelException.Check(outcome, "ostrel_startup_wait");
        }

        public void Cancel() { Native.ostrel_startup_cancel(handle_); }

        /// <summary>What the run did, for a person; empty until it is done.</summary>
        public string Message { get { return Utf8.FromNative(Native.ostrel_startup_message(handle_)); } }

        public void Dispose() { handle_.Dispose(); }

        // A handle runs once; a second Run or Start says why it cannot.
        void Begin(string what)
        {
            int was = Interlocked.CompareExchange(ref phase_, Running, Idle);
            if (was == Running)
                throw new OstrelException(OstrelException.InvalidState,
                                          what + ": the handle is running: wait for it, or cancel it");
            if (was == Done)
                throw new OstrelException(OstrelException.InvalidState,
                                          what + ": the handle has already run: a handle runs once, make a new Startup");
        }

        internal sealed class Pending
        {
            internal Startup Owner;
            internal Action<StartupOutcome> OnDone;
        }

        internal static void Finished(IntPtr user, int outcome)
        {
            GCHandle pinned = GCHandle.FromIntPtr(user);
            var pending = (Pending)pinned.Target;
            pinned.Free();
            Volatile.Write(ref pending.Owner.phase_, Done);
            if (pending.OnDone == null) return;
            // An exception must not unwind into native code.
            try { pending.OnDone((StartupOutcome)outcome); }
            catch (Exception) { }
        }
    }

    public static class Library
    {
        /// <summary>"MAJOR.MINOR.PATCH" of the native library.</summary>
        public static string Version { get { return Utf8.FromNative(Native.ostrel_version()); } }

        /// <summary>The name ostrel.h gives <paramref name="code"/> in <paramref name="set"/>.</summary>
        public static string CodeName(CodeSet set, int code)
        {
            return Utf8.FromNative(Native.ostrel_code_name((int)set, code));
        }

        public static RegisterResult Register(string appKey, string manifestPath, string loaderPath, out string error)
        {
            return (RegisterResult)Call(Native.ostrel_register, "ostrel_register", appKey, manifestPath, loaderPath,
                                        out error);
        }

        /// <summary>
        /// Succeeds when the runtime lists the key (finishing a registration
        /// that stopped before auto-launch was switched on), else registers,
        /// keeping the user's recorded auto-launch choice.
        /// </summary>
        public static RegisterResult Ensure(string appKey, string manifestPath, string loaderPath, out string error)
        {
            return (RegisterResult)Call(Native.ostrel_ensure, "ostrel_ensure", appKey, manifestPath, loaderPath,
                                        out error);
        }

        public static RegisterResult Unregister(string appKey, string manifestPath, string loaderPath, out string error)
        {
            return (RegisterResult)Call(Native.ostrel_unregister, "ostrel_unregister", appKey, manifestPath, loaderPath,
                                        out error);
        }

        /// <summary>ostrel-register status --json, and the state it gives.</summary>
        public static RegistrationState StatusJson(string appKey, string manifestPath, string loaderPath, out string json)
        {
            return (RegistrationState)Call(Native.ostrel_status_json, "ostrel_status_json", appKey, manifestPath,
                                           loaderPath, out json);
        }

        public static CheckOutcome CheckJson(string appKey, string manifestPath, out string json)
        {
            return (CheckOutcome)Call(Native.ostrel_check_json, "ostrel_check_json", appKey, manifestPath, null,
                                      out json);
        }

        public static RepairOutcome RepairJson(string appKey, string manifestPath, string loaderPath, out string json)
        {
            return (RepairOutcome)Call(Native.ostrel_repair_json, "ostrel_repair_json", appKey, manifestPath,
                                       loaderPath, out json);
        }

        /// <summary>
        /// ostrel-register doctor --json: every registration on the machine judged
        /// from the runtime's files (the runtime is not reached), and the state.
        /// </summary>
        public static DoctorState DoctorJson(out string json)
        {
            IntPtr native;
            int status = Native.ostrel_doctor_json(out native);
            json = Utf8.TakeNative(native);
            return (DoctorState)OstrelException.Check(status, "ostrel_doctor_json");
        }

        // The delegate the native side holds must outlive every call it may
        // receive, so it is kept here until replaced (internal: the compiler
        // would call a private field that is never read unused).
        internal static Native.LogCallback KeptCallback;

        /// <summary>
        /// Sends the library's log lines to <paramref name="callback"/> (on
        /// whichever thread logs); null puts the console back. Set it before
        /// any other call, while no other call runs.
        /// </summary>
        public static void SetLogCallback(Action<LogLevel, string> callback)
        {
            Native.LogCallback native = null;
            if (callback != null)
            {
                native = (level, message, user) =>
                {
                    // An exception must not unwind into native code.
                    try { callback((LogLevel)level, Utf8.FromNative(message)); }
                    catch (Exception) { }
                };
            }
            OstrelException.Check(Native.ostrel_set_log_callback(native, IntPtr.Zero),
                                  "ostrel_set_log_callback");
            KeptCallback = native;
        }

        static int defaultsPrepared_;

        /// <summary>
        /// The application's folder, where the defaults are looked for: the
        /// base directory of the application's domain, else the entry
        /// assembly's folder. Null when neither is known.
        /// </summary>
        public static string ApplicationFolder
        {
            get
            {
                string folder = AppContext.BaseDirectory;
                if (string.IsNullOrEmpty(folder))
                {
                    Assembly entry = Assembly.GetEntryAssembly();
                    if (entry != null && !string.IsNullOrEmpty(entry.Location))
                        folder = Path.GetDirectoryName(entry.Location);
                }
                return string.IsNullOrEmpty(folder) ? null : folder;
            }
        }

        // Once, before the first call that looks for a default.
        internal static void PrepareDefaults()
        {
            if (Interlocked.Exchange(ref defaultsPrepared_, 1) != 0) return;
            string folder = ApplicationFolder;
            if (folder == null) return;
            OstrelException.Check(Native.ostrel_set_program_folder(Utf8.ToNative(folder, "folder")),
                                  "ostrel_set_program_folder");
        }

        delegate int TextCall(byte[] key, byte[] manifest, byte[] loader, out IntPtr text);

        static int Call(TextCall call, string what, string appKey, string manifestPath, string loaderPath,
                        out string text)
        {
            byte[] key = Utf8.ToNative(appKey, "appKey");
            byte[] manifest = Utf8.ToNative(manifestPath, "manifestPath");
            byte[] loader = Utf8.ToNative(loaderPath, "loaderPath");
            PrepareDefaults();
            IntPtr native;
            int status = call(key, manifest, loader, out native);
            text = Utf8.TakeNative(native);
            return OstrelException.Check(status, what);
        }
    }

    static class Utf8
    {
        // NUL-terminated UTF-8, or null for null. Text that would not arrive
        // whole is refused: an embedded NUL ends it early, and an unpaired
        // surrogate would silently become U+FFFD.
        internal static byte[] ToNative(string text, string parameter)
        {
            if (text == null) return null;
            for (int i = 0; i < text.Length; ++i)
            {
                char c = text[i];
                if (c == '\0')
                    throw new ArgumentException("holds a NUL character at " + i + ", which would end it there",
                                                parameter);
                if (char.IsHighSurrogate(c) && i + 1 < text.Length && char.IsLowSurrogate(text[i + 1]))
                {
                    ++i;
                    continue;
                }
                if (char.IsSurrogate(c))
                    throw new ArgumentException("holds an unpaired surrogate at " + i + ", which is no character",
                                                parameter);
            }
            byte[] bytes = new byte[Encoding.UTF8.GetByteCount(text) + 1];
            Encoding.UTF8.GetBytes(text, 0, text.Length, bytes, 0);
            return bytes;
        }

        internal static string FromNative(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            int length = 0;
            while (Marshal.ReadByte(text, length) != 0) ++length;
            byte[] bytes = new byte[length];
            Marshal.Copy(text, bytes, 0, length);
            return Encoding.UTF8.GetString(bytes);
        }

        // Reads text the library allocated, then frees it.
        internal static string TakeNative(IntPtr text)
        {
            try { return FromNative(text); }
            finally { Native.ostrel_free(text); }
        }
    }

    static class Native
    {
        const string Lib = "ostrel";
        const CallingConvention Call = CallingConvention.Cdecl;

        [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
        internal delegate void LogCallback(int level, IntPtr message, IntPtr user);

        [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
        internal delegate void StartupDone(IntPtr s, int outcome, IntPtr user);

        // One delegate for every started handle, alive as long as the
        // process: the library may call it while no managed object refers to
        // the Startup any more.
        internal static readonly StartupDone StartupDoneCallback = (s, outcome, user) => Startup.Finished(user, outcome);

        [DllImport(Lib, CallingConvention = Call)] internal static extern IntPtr ostrel_version();
        [DllImport(Lib, CallingConvention = Call)] internal static extern void ostrel_free(IntPtr text);
        [DllImport(Lib, CallingConvention = Call)] internal static extern IntPtr ostrel_code_name(int set, int code);
        [DllImport(Lib, CallingConvention = Call)] internal static extern int ostrel_set_program_folder(byte[] folder);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_startup_create(byte[] appKey, byte[] manifestPath, byte[] loaderPath,
                                                         out StartupHandle handle);
        [DllImport(Lib, CallingConvention = Call)] internal static extern int ostrel_startup_run(StartupHandle s);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_startup_start(StartupHandle s, StartupDone callback, IntPtr user);
        [DllImport(Lib, CallingConvention = Call)] internal static extern int ostrel_startup_wait(StartupHandle s);
        [DllImport(Lib, CallingConvention = Call)] internal static extern void ostrel_startup_cancel(StartupHandle s);
        [DllImport(Lib, CallingConvention = Call)] internal static extern IntPtr ostrel_startup_message(StartupHandle s);
        [DllImport(Lib, CallingConvention = Call)] internal static extern void ostrel_startup_destroy(IntPtr s);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_register(byte[] key, byte[] manifest, byte[] loader, out IntPtr error);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_ensure(byte[] key, byte[] manifest, byte[] loader, out IntPtr error);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_unregister(byte[] key, byte[] manifest, byte[] loader, out IntPtr error);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_status_json(byte[] key, byte[] manifest, byte[] loader, out IntPtr json);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_check_json(byte[] key, byte[] manifest, byte[] loader, out IntPtr json);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_repair_json(byte[] key, byte[] manifest, byte[] loader, out IntPtr json);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_doctor_json(out IntPtr json);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_set_log_callback(LogCallback callback, IntPtr user);
    }
}
