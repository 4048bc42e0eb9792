//! What the desktop application does at start-up: keep its SteamVR
//! registration right, off the thread that draws its window.
//!
//!     register-at-startup KEY [MANIFEST]
//!
//! MANIFEST defaults to app.vrmanifest beside this program; the OpenVR
//! loader is looked for beside it first, as an application ships it. Prints
//! one line, "<action>: <text>", and exits 0 for already-registered,
//! registered and repaired, 69 for unreachable, 1 otherwise: the contract of
//! the C++ example, examples/register-at-startup.
use std::path::PathBuf;
use std::process::ExitCode;

use ostrel::{Startup, StartupOutcome};

/// "already-registered" for OSTREL_STARTUP_ALREADY_REGISTERED: the action's
/// name as the start-up call's reports spell it.
fn action(outcome: StartupOutcome) -> String {
    outcome
        .name()
        .trim_start_matches("OSTREL_STARTUP_")
        .to_ascii_lowercase()
        .replace('_', "-")
}

fn exit_status(outcome: StartupOutcome) -> u8 {
    match outcome {
        StartupOutcome::AlreadyRegistered
        | StartupOutcome::Registered
        | StartupOutcome::Repaired => 0,
        StartupOutcome::Unreachable => 69,
        _ => 1,
    }
}

fn main() -> ExitCode {
    let arguments: Vec<_> = std::env::args_os().skip(1).collect();
    let key = match (
        arguments.len(),
        arguments.first().and_then(|key| key.to_str()),
    ) {
        (1..=2, Some(key)) => key.to_string(),
        _ => {
            eprintln!("usage: register-at-startup KEY [MANIFEST]");
            return ExitCode::from(64);
        }
    };
    let manifest = arguments.get(1).map(PathBuf::from);

    // Returns at once; an application goes on starting up meanwhile, and
    // dropping the handle at exit stops a registration still under way.
    let done = Startup::new(&key, manifest.as_deref(), None).and_then(|startup| {
        startup.start(|_| {})?;
        Ok((startup.wait()?, startup.message()))
    });
    match done {
        Ok((outcome, text)) => {
            println!("{}: {}", action(outcome), text);
            ExitCode::from(exit_status(outcome))
        }
        Err(error) => {
            println!("failed: {}", error);
            ExitCode::from(1)
        }
    }
}
