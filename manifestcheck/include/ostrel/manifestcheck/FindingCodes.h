// The manifest check's finding codes: a stable contract (scripts branch on
// them, the JSON output carries them), spelled once here. An error means the
// runtime refuses the manifest or skips the application; a warning means it
// loads, but something the user expects may not happen.
#pragma once

namespace ostrel::manifestcheck::findings {

// Errors about the path that will be registered.
inline constexpr const char* kPathEmpty = "path-empty";                  // empty
inline constexpr const char* kPathNul = "path-nul";                      // holds a NUL
inline constexpr const char* kPathRelative = "path-relative";            // not a full path
inline constexpr const char* kPathForwardSlash = "path-forward-slash";  // holds '/' (Windows)
// Holds '\' (Linux): the runtime's loader reads it as '/' and opens another file.
inline constexpr const char* kPathBackslash = "path-backslash";

// Errors about reading the file.
inline constexpr const char* kFileMissing = "file-missing";
inline constexpr const char* kFileNotRegular = "file-not-regular";  // a folder, pipe or device
inline constexpr const char* kFileUnreadable = "file-unreadable";
inline constexpr const char* kFileTooLarge = "file-too-large";  // over kManifestSizeLimit
inline constexpr const char* kEmpty = "empty";                  // nothing but white space

// Errors about the bytes and the JSON.
inline constexpr const char* kUtf16 = "utf16";
inline constexpr const char* kBom = "bom";  // UTF-8 with a byte-order mark
inline constexpr const char* kNulByte = "nul-byte";
inline constexpr const char* kInvalidUtf8 = "invalid-utf8";
inline constexpr const char* kTooDeep = "too-deep";  // nested deeper than kManifestDepthLimit
inline constexpr const char* kJsonSyntax = "json-syntax";  // trailing commas included
inline constexpr const char* kJsonNumber = "json-number";  // a number no reader can hold

// Errors about the structure and the application.
inline constexpr const char* kNotObject = "not-object";
inline constexpr const char* kApplicationsMissing = "applications-missing";
inline constexpr const char* kAppKeyMissing = "app-key-missing";  // no application has the key
inline constexpr const char* kAppKeyInvalid = "app-key-invalid";  // a character the runtime refuses
inline constexpr const char* kAppKeyTooLong = "app-key-too-long";  // 128 bytes or more
inline constexpr const char* kWrongType = "wrong-type";  // a key the runtime reads, wrong JSON type
inline constexpr const char* kLaunchTypeUnknown = "launch-type-unknown";
inline constexpr const char* kUrlMissing = "url-missing";
// No program for the system's runtime (binary_path_windows on Windows,
// binary_path_linux on Linux, binary_path_linux_arm on 64-bit ARM Linux).
inline constexpr const char* kBinaryPathMissing = "binary-path-missing";
inline constexpr const char* kBinaryMissing = "binary-missing";  // names no file, or a folder

// Warnings.
inline constexpr const char* kNonAsciiPath = "non-ascii-path";
inline constexpr const char* kWindowsApps = "windowsapps";  // under a WindowsApps folder
inline constexpr const char* kDashboardOverlay = "dashboard-overlay";  // auto-launch does not apply
inline constexpr const char* kNoName = "no-name";
inline constexpr const char* kDuplicateKey = "duplicate-key";  // a JSON key repeats in one object
inline constexpr const char* kAppKeyDuplicate = "app-key-duplicate";
inline constexpr const char* kLaunchTypeMissing = "launch-type-missing";
inline constexpr const char* kPathDriveRooted = "path-drive-rooted";  // "\x": the current drive's root
// Linux only. The manifest or the program lies where the container SteamVR
// runs in (Steam Linux Runtime) has its own files (/usr, /bin, /sbin, /lib*)
// or shows nothing of the host's (any top-level folder but /home, /opt, /mnt,
// /media, /srv, /tmp, /nix, /gnu and /run/media); a warning, as SteamVR may
// be run outside the container.
inline constexpr const char* kContainerHidden = "container-hidden";
// Linux only. Inside a running AppImage's mount (/tmp/.mount_*), which goes
// when the AppImage exits.
inline constexpr const char* kAppImageMount = "appimage-mount";
// Linux only. The path goes through a symbolic link, which the runtime
// resolves; the message says where it leads.
inline constexpr const char* kSymbolicLink = "symbolic-link";

// Closes a list cut short at kMaxFindings, with the severity of the worst
// finding left out.
inline constexpr const char* kMoreFindings = "more-findings";

}  // namespace ostrel::manifestcheck::findings
