//! The ostrel crate as its users build it, driven as the C client is
//! (packaging/packages/tests/PackageTest.cmake):
//!
//!     ostrel-client version
//!     ostrel-client startup|async|cancel|status|misuse KEY MANIFEST LOADER
//!
//! Log lines go to standard error as "log <level>: <message>".
use std::path::Path;
use std::process::ExitCode;
use std::sync::mpsc;
use std::sync::Arc;
use std::thread;
use std::time::Duration;

use ostrel::{Error, ErrorKind, Startup, StartupOutcome};

fn action(outcome: StartupOutcome) -> String {
    outcome
        .name()
        .trim_start_matches("OSTREL_STARTUP_")
        .to_ascii_lowercase()
        .replace('_', "-")
}

fn report(startup: &Startup, outcome: StartupOutcome) -> i32 {
    println!(
        "{} ({}): {}",
        action(outcome),
        outcome.code(),
        startup.message()
    );
    outcome.code()
}

fn run(command: &str, key: &str, manifest: &Path, loader: &Path) -> Result<i32, Error> {
    match command {
        "startup" => {
            let startup = Startup::new(key, Some(manifest), Some(loader))?;
            let outcome = startup.run()?;
            Ok(report(&startup, outcome))
        }
        "async" => {
            let (told, heard) = mpsc::channel();
            let startup = Startup::new(key, Some(manifest), Some(loader))?;
            startup.start(move |outcome| {
                let _ = told.send(outcome);
            })?;
            let waited = startup.wait()?;
            let message = startup.message();
            // Dropping the handle waits for the library's thread: the
            // callback has run, once.
            drop(startup);
            let calls: Vec<_> = heard.try_iter().collect();
            if calls != [Ok(waited)] {
                println!(
                    "the callback was told {:?}, wait returned {:?}",
                    calls, waited
                );
                return Ok(100);
            }
            println!("callback ({}): {}", waited.code(), message);
            println!("{} ({})", action(waited), waited.code());
            Ok(waited.code())
        }
        "cancel" => {
            // The handle is Sync: one thread runs it, this one cancels it.
            let startup = Arc::new(Startup::new(key, Some(manifest), Some(loader))?);
            let runner = {
                let startup = Arc::clone(&startup);
                thread::spawn(move || startup.run())
            };
            thread::sleep(Duration::from_millis(700));
            startup.cancel();
            let outcome = runner.join().expect("the run panicked")?;
            Ok(report(&startup, outcome))
        }
        "status" => {
            let report = ostrel::status_json(key, Some(manifest), Some(loader))?;
            print!("{}", report.json);
            Ok(report.outcome.code())
        }
        "doctor" => {
            let report = ostrel::doctor_json()?;
            print!("{}", report.json);
            Ok(report.outcome.code())
        }
        "misuse" => Ok(misuse(key, manifest, loader)),
        _ => {
            eprintln!("unknown command {}", command);
            Ok(64)
        }
    }
}

/// Whether `result` is the error `kind` named `name`; says which.
fn told_apart(what: &str, result: Result<(), Error>, kind: ErrorKind, name: &str) -> bool {
    match result {
        Err(error) if error.kind() == kind && error.name() == name => {
            println!("{}: {}", what, error);
            true
        }
        other => {
            println!("{}: wrong answer {:?}", what, other);
            false
        }
    }
}

/// Misuse told apart before or by the library, each as the error it is.
fn misuse(key: &str, manifest: &Path, loader: &Path) -> i32 {
    const ARGUMENT: (ErrorKind, &str) = (ErrorKind::InvalidArgument, "OSTREL_E_INVALID_ARGUMENT");
    const STATE: (ErrorKind, &str) = (ErrorKind::InvalidState, "OSTREL_E_INVALID_STATE");
    let mut right = vec![
        told_apart(
            "a key the runtime refuses",
            Startup::new("vantorell ostrel", None, None).map(drop),
            ARGUMENT.0,
            ARGUMENT.1,
        ),
        told_apart(
            "a key with a NUL",
            ostrel::check_json("vantorell\0ostrel", manifest).map(drop),
            ARGUMENT.0,
            ARGUMENT.1,
        ),
        told_apart(
            "an empty manifest path",
            ostrel::status_json(key, Some(Path::new("")), None).map(drop),
            ARGUMENT.0,
            ARGUMENT.1,
        ),
    ];
    match Startup::new(key, Some(manifest), Some(loader)) {
        Ok(startup) => {
            right.push(told_apart(
                "wait before a run",
                startup.wait().map(drop),
                STATE.0,
                STATE.1,
            ));
            startup.cancel();
            let first = startup.run();
            println!("a cancelled handle's run: {:?}", first);
            right.push(first == Ok(StartupOutcome::Cancelled));
            right.push(told_apart(
                "a second run",
                startup.run().map(drop),
                STATE.0,
                STATE.1,
            ));
            right.push(told_apart(
                "a start after the run",
                startup.start(|_| {}),
                STATE.0,
                STATE.1,
            ));
        }
        Err(error) => {
            println!("no handle: {}", error);
            right.push(false);
        }
    }
    if right.iter().all(|&right| right) {
        println!("misuse told apart");
        0
    } else {
        1
    }
}

fn main() -> ExitCode {
    let arguments: Vec<String> = std::env::args().skip(1).collect();
    if arguments.len() == 1 && arguments[0] == "version" {
        println!("{}", ostrel::version());
        return ExitCode::SUCCESS;
    }
    if arguments.len() != 4 {
        eprintln!("usage: ostrel-client COMMAND KEY MANIFEST LOADER");
        return ExitCode::from(64);
    }
    // SAFETY: set before any other call, while no other runs.
    let logging = unsafe {
        ostrel::set_log_callback(Some(Box::new(|level: ostrel::LogLevel, message: &str| {
            eprintln!("log {}: {}", level as i32, message);
        })))
    };
    if let Err(error) = logging {
        eprintln!("{}", error);
        return ExitCode::from(100);
    }
    let status = match run(
        &arguments[0],
        &arguments[1],
        Path::new(&arguments[2]),
        Path::new(&arguments[3]),
    ) {
        Ok(status) => status,
        Err(error) => {
            println!("{}: {}", error.code(), error);
            100 - error.code()
        }
    };
    // SAFETY: every call and run has ended.
    let _ = unsafe { ostrel::set_log_callback(None) };
    ExitCode::from(status as u8)
}
