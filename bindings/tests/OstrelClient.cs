// The C# binding driven as the C client is, so the same steps run through
// both (capi/tests/RunCClientScenario.cmake):
//
//   OstrelClient.exe version
//   OstrelClient.exe startup|cancel|async|register|ensure|unregister|status|check|repair|doctor|bad-keys KEY MANIFEST LOADER
//   OstrelClient.exe start-twice|misuse|defaults KEY MANIFEST LOADER
//
// MANIFEST "-" is null. Log lines arrive through the log callback and go to
// standard error as "log <level>: <message>".
using System;
using System.Collections.Generic;
using System.Threading;
using Ostrel;

static class OstrelClient
{
    static string Optional(string argument) { return argument == "-" ? null : argument; }

    static string OutcomeName(StartupOutcome outcome)
    {
        switch (outcome)
        {
            case StartupOutcome.AlreadyRegistered: return "already-registered";
            case StartupOutcome.Registered: return "registered";
            case StartupOutcome.Repaired: return "repaired";
            case StartupOutcome.Unreachable: return "unreachable";
            case StartupOutcome.Failed: return "failed";
            default: return "cancelled";
        }
    }

    static int Report(Startup startup, StartupOutcome outcome)
    {
        Console.WriteLine("{0} ({1}): {2}", OutcomeName(outcome), (int)outcome, startup.Message);
        return (int)outcome;
    }

    static int Main(string[] args)
    {
        if (args.Length == 1 && args[0] == "version")
        {
            Console.WriteLine(Library.Version);
            return 0;
        }
        if (args.Length != 4)
        {
            Console.Error.WriteLine("usage: OstrelClient COMMAND KEY MANIFEST LOADER");
            return 64;
        }
        string command = args[0], key = args[1], manifest = Optional(args[2]), loader = Optional(args[3]);
        int logged = 0;
        Library.SetLogCallback((level, message) =>
        {
            Interlocked.Increment(ref logged);
            Console.Error.WriteLine("log {0}: {1}", (int)level, message);
        });
        // The callback must survive a collection while the library holds it.
        GC.Collect();
        GC.WaitForPendingFinalizers();
        int status;
        try
        {
            status = Run(command, key, manifest, loader);
        }
        catch (OstrelException e)
        {
            Console.WriteLine("{0}: {1}", e.Status, e.Message);
            status = 100 - e.Status;
        }
        Library.SetLogCallback(null);
        Console.Error.WriteLine("log lines received: {0}", logged);
        return status;
    }

    static int Run(string command, string key, string manifest, string loader)
    {
        string text;
        switch (command)
        {
            case "startup":
                using (var startup = new Startup(key, manifest, loader))
                    return Report(startup, startup.Run());
            case "cancel":
                using (var startup = new Startup(key, manifest, loader))
                {
                    StartupOutcome outcome = StartupOutcome.Failed;
                    var thread = new Thread(() => outcome = startup.Run());
                    thread.Start();
                    Thread.Sleep(700);
                    startup.Cancel();
                    thread.Join();
                    return Report(startup, outcome);
                }
            case "async":
                using (var startup = new Startup(key, manifest, loader))
                {
                    int calls = 0;
                    var told = StartupOutcome.Failed;
                    // The callback may run while Dispose waits for it, so it
                    // keeps to the outcome it is given.
                    startup.Start(outcome =>
                    {
                        told = outcome;
                        Interlocked.Increment(ref calls);
                    });
                    StartupOutcome waited = startup.Wait();
                    string message = startup.Message;
                    startup.Dispose();  // joins the library's thread: the callback has returned
                    if (calls != 1 || told != waited)
                        throw new InvalidOperationException("callback called " + calls + " times with " + told);
                    Console.WriteLine("callback ({0}): {1}", (int)told, message);
                    Console.WriteLine("{0} ({1})", OutcomeName(waited), (int)waited);
                    return (int)waited;
                }
            case "register":
            case "ensure":
            case "unregister":
                RegisterResult result = command == "register" ? Library.Register(key, manifest, loader, out text)
                    : command == "ensure" ? Library.Ensure(key, manifest, loader, out text)
                    : Library.Unregister(key, manifest, loader, out text);
                Console.WriteLine("{0}: {1}: {2}", command, (int)result, text ?? "(no error)");
                return (int)result;
            case "status":
                return Json((int)Library.StatusJson(key, manifest, loader, out text), text);
            case "check":
                return Json((int)Library.CheckJson(key, manifest, out text), text);
            case "repair":
                return Json((int)Library.RepairJson(key, manifest, loader, out text), text);
            case "doctor":
                return Json((int)Library.DoctorJson(out text), text);
            case "start-twice":
                return StartTwice(key, manifest, loader);
            case "misuse":
                return Misuse(key, manifest, loader);
            case "defaults":
                // No manifest and no loader named: both beside this program,
                // wherever it was started from and whichever host runs it.
                using (var startup = new Startup(key))
                    return Report(startup, startup.Run());
            case "bad-keys":
                return BadKeys(manifest, loader);
            default:
                Console.Error.WriteLine("unknown command " + command);
                return 64;
        }
    }

    // Start twice, the first run's callback still to come, with a collection
    // in between: the second Start is refused and says why, and the first
    // run's callback arrives once, in a process that does not crash.
    static int StartTwice(string key, string manifest, string loader)
    {
        int calls = 0;
        using (var startup = new Startup(key, manifest, loader))
        {
            startup.Start(outcome => Interlocked.Increment(ref calls));
            string refused = null;
            try
            {
                startup.Start(outcome => Interlocked.Add(ref calls, 100));
            }
            catch (OstrelException e) when (e.Status == OstrelException.InvalidState)
            {
                refused = e.Message;
            }
            for (int i = 0; i < 3; ++i)
            {
                GC.Collect();
                GC.WaitForPendingFinalizers();
            }
            StartupOutcome outcome2 = startup.Wait();
            startup.Dispose();
            if (refused == null || (refused.IndexOf("is running", StringComparison.Ordinal) < 0 &&
                                    refused.IndexOf("already run", StringComparison.Ordinal) < 0))
                throw new InvalidOperationException("the second Start said: " + (refused ?? "nothing"));
            if (calls != 1) throw new InvalidOperationException("callbacks: " + calls);
            Console.WriteLine("second start refused: {0}", refused);
            Console.WriteLine("{0} ({1})", OutcomeName(outcome2), (int)outcome2);
            return (int)outcome2;
        }
    }

    // What a caller gets wrong, each told apart before or by the library.
    static int Misuse(string key, string manifest, string loader)
    {
        int wrong = 0;
        Action<string, Action, Func<Exception, bool>> expect = (what, call, right) =>
        {
            try
            {
                call();
                Console.WriteLine("{0}: no exception", what);
                ++wrong;
            }
            catch (Exception e)
            {
                if (right(e)) Console.WriteLine("{0}: {1}", what, e.Message);
                else
                {
                    Console.WriteLine("{0}: wrong exception {1}", what, e);
                    ++wrong;
                }
            }
        };
        Func<string, Func<Exception, bool>> invalidState = says => e =>
            e is OstrelException && ((OstrelException)e).Status == OstrelException.InvalidState &&
            e.Message.IndexOf(says, StringComparison.Ordinal) >= 0;
        Func<Exception, bool> argument = e => e is ArgumentException;
        string text;
        using (var startup = new Startup(key, manifest, loader))
        {
            expect("wait before any run", () => startup.Wait(), invalidState("not run yet"));
            startup.Cancel();
            startup.Run();
            expect("run after the run", () => startup.Run(), invalidState("already run"));
            expect("start after the run", () => startup.Start(null), invalidState("already run"));
        }
        expect("a NUL in the key", () => new Startup("vantorell\0.ostrel"), argument);
        expect("a lone surrogate in the manifest", () => Library.CheckJson(key, "app\uD800.vrmanifest", out text),
               argument);
        expect("a surrogate pair out of order", () => Library.Ensure(key, manifest + "\uDC00\uD800", loader, out text),
               argument);
        if (wrong == 0) Console.WriteLine("misuse told apart");
        return wrong == 0 ? 0 : 1;
    }

    // Keys the runtime refuses, at every call that takes a key: each is
    // refused as an invalid argument before anything is read or reached.
    static int BadKeys(string manifest, string loader)
    {
        string text;
        var calls = new List<KeyValuePair<string, Action<string>>>
        {
            new KeyValuePair<string, Action<string>>("Startup", k => new Startup(k, manifest, loader).Dispose()),
            new KeyValuePair<string, Action<string>>("Register", k => Library.Register(k, manifest, loader, out text)),
            new KeyValuePair<string, Action<string>>("Ensure", k => Library.Ensure(k, manifest, loader, out text)),
            new KeyValuePair<string, Action<string>>("Unregister", k => Library.Unregister(k, manifest, loader, out text)),
            new KeyValuePair<string, Action<string>>("StatusJson", k => Library.StatusJson(k, manifest, loader, out text)),
            new KeyValuePair<string, Action<string>>("CheckJson", k => Library.CheckJson(k, manifest, out text)),
            new KeyValuePair<string, Action<string>>("RepairJson", k => Library.RepairJson(k, manifest, loader, out text)),
        };
        int wrong = 0;
        foreach (string key in new[] { "", "vantorell\tostrel", "vantorell ostrel", "../vantorell.ostrel", new string('k', 128) })
        {
            foreach (var call in calls)
            {
                try
                {
                    call.Value(key);
                    Console.WriteLine("{0} took the key '{1}'", call.Key, key);
                    ++wrong;
                }
                catch (OstrelException e) when (e.Status == OstrelException.InvalidArgument)
                {
                }
            }
        }
        if (wrong == 0) Console.WriteLine("bad keys refused");
        return wrong == 0 ? 0 : 1;
    }

    static int Json(int status, string json)
    {
        Console.Write(json);
        return status;
    }
}
