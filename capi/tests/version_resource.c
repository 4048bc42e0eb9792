/* Checks the version resource a Windows file of this project carries against
 * the library's own version: what Explorer, support staff and Windows
 * Installer read must be what ostrel_version() says.
 *
 *   version_resource <file> <dll|exe>
 *
 * <file> is named as Windows opens it (relative to the working folder).
 * Exit status 0 when everything agrees, 1 with every difference printed. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "ostrel.h"

static int failures = 0;

static void expect_text(const char* what, const wchar_t* actual, const char* expected) {
  wchar_t wide[256];
  if (MultiByteToWideChar(CP_UTF8, 0, expected, -1, wide, 256) == 0) {
    printf("%s: cannot widen the expected text\n", what);
    ++failures;
    return;
  }
  if (actual == NULL) {
    printf("%s: missing, expected \"%s\"\n", what, expected);
    ++failures;
  } else if (wcscmp(actual, wide) != 0) {
    printf("%s: \"%ls\", expected \"%s\"\n", what, actual, expected);
    ++failures;
  }
}

/* The text of one StringFileInfo entry, or NULL. */
static const wchar_t* string_entry(void* info, const wchar_t* name) {
  wchar_t query[128];
  swprintf(query, sizeof query / sizeof query[0], L"\\StringFileInfo\\040904B0\\%ls", name);
  void* value = NULL;
  UINT length = 0;
  if (!VerQueryValueW(info, query, &value, &length) || length == 0) return NULL;
  return (const wchar_t*)value;
}

int main(int argc, char** argv) {
  if (argc != 3 || (strcmp(argv[2], "dll") != 0 && strcmp(argv[2], "exe") != 0)) {
    fprintf(stderr, "usage: version_resource <file> <dll|exe>\n");
    return 2;
  }
  const char* file = argv[1];
  const char* base = strrchr(file, '\\');
  base = base != NULL ? base + 1 : file;

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  if (size == 0) {
    printf("%s: no version resource (error %lu)\n", file, (unsigned long)GetLastError());
    return 1;
  }
  void* info = HeapAlloc(GetProcessHeap(), 0, size);
  if (info == NULL || !GetFileVersionInfoA(file, 0, size, info)) {
    printf("%s: cannot read the version resource\n", file);
    return 1;
  }

  VS_FIXEDFILEINFO* fixed = NULL;
  UINT fixed_length = 0;
  if (!VerQueryValueW(info, L"\\", (void**)&fixed, &fixed_length) ||
      fixed_length < sizeof *fixed || fixed->dwSignature != 0xFEEF04BD) {
    printf("%s: no fixed version information\n", file);
    ++failures;
  } else {
    char numbers[64];
    snprintf(numbers, sizeof numbers, "%u.%u.%u", (unsigned)HIWORD(fixed->dwFileVersionMS),
             (unsigned)LOWORD(fixed->dwFileVersionMS), (unsigned)HIWORD(fixed->dwFileVersionLS));
    if (strcmp(numbers, ostrel_version()) != 0 || LOWORD(fixed->dwFileVersionLS) != 0) {
      printf("file version %s.%u, expected %s.0\n", numbers,
             (unsigned)LOWORD(fixed->dwFileVersionLS), ostrel_version());
      ++failures;
    }
    if (fixed->dwProductVersionMS != fixed->dwFileVersionMS ||
        fixed->dwProductVersionLS != fixed->dwFileVersionLS) {
      printf("the product version is not the file version\n");
      ++failures;
    }
    const DWORD type = strcmp(argv[2], "dll") == 0 ? VFT_DLL : VFT_APP;
    if (fixed->dwFileType != type) {
      printf("file type %lu, expected %lu\n", (unsigned long)fixed->dwFileType, (unsigned long)type);
      ++failures;
    }
  }

  expect_text("FileVersion", string_entry(info, L"FileVersion"), ostrel_version());
  expect_text("ProductVersion", string_entry(info, L"ProductVersion"), ostrel_version());
  expect_text("OriginalFilename", string_entry(info, L"OriginalFilename"), base);
  expect_text("ProductName", string_entry(info, L"ProductName"), "Ostrel VR registration");
  if (string_entry(info, L"FileDescription") == NULL) {
    printf("FileDescription: missing\n");
    ++failures;
  }
  HeapFree(GetProcessHeap(), 0, info);
  return failures == 0 ? 0 : 1;
}
