// Links the ostrel C library: from the folder OSTREL_LIB_DIR names, else by
// the linker's own search (a system folder, LIBRARY_PATH, ...). Where the
// folder is named but holds no library the target's linker can read, the
// build stops here and says so, rather than with the linker's message.
use std::env;
use std::path::{Path, PathBuf};

fn main() {
    println!("cargo:rerun-if-env-changed=OSTREL_LIB_DIR");
    println!("cargo:rustc-link-lib=dylib=ostrel");

    let dir = match env::var_os("OSTREL_LIB_DIR") {
        Some(dir) if !dir.is_empty() => PathBuf::from(dir),
        _ => return,
    };
    let windows = env::var("CARGO_CFG_TARGET_OS").map_or(false, |os| os == "windows");
    let msvc = env::var("CARGO_CFG_TARGET_ENV").map_or(false, |abi| abi == "msvc");
    // What the linker looks for: the import library on Windows (MSVC's, or
    // mingw-w64's), the shared library's link name elsewhere.
    let wanted: &[&str] = if msvc {
        &["ostrel.lib"]
    } else if windows {
        &["libostrel.dll.a", "ostrel.lib"]
    } else {
        &["libostrel.so", "libostrel.dylib"]
    };
    if !wanted
        .iter()
        .any(|name| Path::new(&dir).join(name).is_file())
    {
        panic!(
            "OSTREL_LIB_DIR is {} but holds none of {}: name the folder with the ostrel library \
             (the release archive's lib folder), or unset it to use the system's search",
            dir.display(),
            wanted.join(", ")
        );
    }
    println!("cargo:rustc-link-search=native={}", dir.display());
}
