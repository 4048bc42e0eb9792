// Ostrel for .NET and Unity: keeps the application's SteamVR registration
// right through the native library (ostrel.dll on Windows, libostrel.so
// elsewhere). Drop this one file into the project and ship the library
// beside the executable (Unity: Assets/Plugins/x86_64/).
//
// Text crosses as UTF-8 both ways, whatever the platform's ANSI code page.
// Failures the native library reports as status codes become an
// OstrelException; outcomes and exit statuses are returned.
using System;
using System.Runtime.InteropServices;
using System.Text;
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

    /// <summary>The registrar's result (OSTREL_RESULT_*).</summary>
    public enum RegisterResult
    {
        Success = 0,
        AddFailed = 1,
        PollTimeout = 2,
        AutoLaunchFailed = 3,
        RemoveFailed = 4,
    }

    public enum LogLevel { Trace = 0, Debug = 1, Info = 2, Warn = 3, Error = 4, Fatal = 5 }

    /// <summary>A negative status code from the native library.</summary>
    public sealed class OstrelException : Exception
    {
        public const int InvalidArgument = -1;
        public const int OutOfMemory = -2;
        public const int Unreachable = -3;
        public const int InvalidState = -4;
        public const int Internal = -5;

        public int Status { get; private set; }

        public OstrelException(int status, string message) : base(message) { Status = status; }

        internal static int Check(int status, string what)
        {
            if (status >= 0) return status;
            throw new OstrelException(status, what + " failed: " + Name(status));
        }

        static string Name(int status)
        {
            switch (status)
            {
                case InvalidArgument: return "invalid argument (null, not UTF-8, or too long)";
                case OutOfMemory: return "out of memory";
                case Unreachable: return "the runtime could not be reached";
                case InvalidState: return "the handle has already run";
                case Internal: return "internal failure";
                default: return "status " + status;
            }
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
    /// The start-up call. Run blocks the calling thread; Cancel may be called
    /// from any other thread meanwhile. Dispose only after Run has returned;
    /// after Start, Dispose cancels and waits for the work.
    /// </summary>
    public sealed class Startup : IDisposable
    {
        readonly StartupHandle handle_;

        /// <param name="manifestPath">null: app.vrmanifest beside the executable.</param>
        /// <param name="loaderPath">null: openvr_api beside the executable, then the system's search.</param>
        public Startup(string appKey, string manifestPath = null, string loaderPath = null)
        {
            if (appKey == null) throw new ArgumentNullException("appKey");
            StartupHandle created;
            OstrelException.Check(
                Native.ostrel_startup_create(Utf8.ToNative(appKey), Utf8.ToNative(manifestPath),
                                             Utf8.ToNative(loaderPath), out created),
                "ostrel_startup_create");
            handle_ = created;
        }

        public StartupOutcome Run()
        {
            return (StartupOutcome)OstrelException.Check(Native.ostrel_startup_run(handle_),
                                                         "ostrel_startup_run");
        }

        // Kept while the library may call it.
        Native.StartupDone done_;

        /// <summary>
        /// Returns at once with the work on the library's own thread;
        /// <paramref name="onDone"/> (may be null) is called there with the
        /// outcome, possibly after Wait has returned and while Dispose waits
        /// for it: it must not use this object. Wait blocks until it is done.
        /// </summary>
        public void Start(Action<StartupOutcome> onDone)
        {
            Native.StartupDone done = (s, outcome, user) =>
            {
                if (onDone == null) return;
                try { onDone((StartupOutcome)outcome); }
                catch (Exception) { }
            };
            done_ = done;
            OstrelException.Check(Native.ostrel_startup_start(handle_, done, IntPtr.Zero), "ostrel_startup_start");
        }

        public StartupOutcome Wait()
        {
            return (StartupOutcome)OstrelException.Check(Native.ostrel_startup_wait(handle_),
                                                         "ostrel_startup_wait");
        }

        public void Cancel() { Native.ostrel_startup_cancel(handle_); }

        /// <summary>What the run did, for a person; empty before it returned.</summary>
        public string Message { get { return Utf8.FromNative(Native.ostrel_startup_message(handle_)); } }

        public void Dispose()
        {
            // Destroying the handle waits for a started run; the callback
            // delegate must live until then.
            handle_.Dispose();
            GC.KeepAlive(done_);
        }
    }

    public static class Library
    {
        /// <summary>"MAJOR.MINOR.PATCH" of the native library.</summary>
        public static string Version { get { return Utf8.FromNative(Native.ostrel_version()); } }

        public static RegisterResult Register(string appKey, string manifestPath, string loaderPath, out string error)
        {
            return Operation(Native.ostrel_register, "ostrel_register", appKey, manifestPath, loaderPath, out error);
        }

        public static RegisterResult Ensure(string appKey, string manifestPath, string loaderPath, out string error)
        {
            return Operation(Native.ostrel_ensure, "ostrel_ensure", appKey, manifestPath, loaderPath, out error);
        }

        public static RegisterResult Unregister(string appKey, string manifestPath, string loaderPath, out string error)
        {
            return Operation(Native.ostrel_unregister, "ostrel_unregister", appKey, manifestPath, loaderPath, out error);
        }

        /// <summary>ostrel-register status --json; returns its exit status.</summary>
        public static int StatusJson(string appKey, string manifestPath, string loaderPath, out string json)
        {
            return Json(Native.ostrel_status_json, "ostrel_status_json", appKey, manifestPath, loaderPath, out json);
        }

        public static int CheckJson(string appKey, string manifestPath, out string json)
        {
            return Json(Native.ostrel_check_json, "ostrel_check_json", appKey, manifestPath, null, out json);
        }

        public static int RepairJson(string appKey, string manifestPath, string loaderPath, out string json)
        {
            return Json(Native.ostrel_repair_json, "ostrel_repair_json", appKey, manifestPath, loaderPath, out json);
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

        delegate int TextCall(byte[] key, byte[] manifest, byte[] loader, out IntPtr text);

        static RegisterResult Operation(TextCall call, string what, string appKey, string manifestPath,
                                        string loaderPath, out string error)
        {
            IntPtr text;
            int status = call(Utf8.ToNative(appKey), Utf8.ToNative(manifestPath), Utf8.ToNative(loaderPath), out text);
            error = Utf8.TakeNative(text);
            if (status == OstrelException.Unreachable)
                throw new OstrelException(status, what + ": " + error);
            return (RegisterResult)OstrelException.Check(status, what);
        }

        static int Json(TextCall call, string what, string appKey, string manifestPath, string loaderPath,
                        out string json)
        {
            IntPtr text;
            int status = call(Utf8.ToNative(appKey), Utf8.ToNative(manifestPath), Utf8.ToNative(loaderPath), out text);
            json = Utf8.TakeNative(text);
            return OstrelException.Check(status, what);
        }
    }

    static class Utf8
    {
        // NUL-terminated UTF-8, or null for null.
        internal static byte[] ToNative(string text)
        {
            if (text == null) return null;
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

        [DllImport(Lib, CallingConvention = Call)] internal static extern IntPtr ostrel_version();
        [DllImport(Lib, CallingConvention = Call)] internal static extern void ostrel_free(IntPtr text);
        [DllImport(Lib, CallingConvention = Call)]
        internal static extern int ostrel_startup_create(byte[] appKey, byte[] manifestPath, byte[] loaderPath,
                                                         out StartupHandle handle);
        [UnmanagedFunctionPointer(CallingConvention.Cdecl)]
        internal delegate void StartupDone(IntPtr s, int outcome, IntPtr user);

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
        internal static extern int ostrel_set_log_callback(LogCallback callback, IntPtr user);
    }
}
