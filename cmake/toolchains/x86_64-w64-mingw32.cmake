# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model,
# package g++-mingw-w64-x86-64-posix). Test executables run under Wine.
#
#   cmake -S . -B build-win -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_ostrel_mingw_prefix x86_64-w64-mingw32)
# The -posix compilers use the winpthreads thread model, which std::mutex and
# std::thread need; the -win32 ones do not provide them in GCC 12.
find_program(CMAKE_C_COMPILER NAMES ${_ostrel_mingw_prefix}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_ostrel_mingw_prefix}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_ostrel_mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_ostrel_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C++ runtime and winpthreads linked in, so no
# DLL is needed beyond the system's own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# CTest prefixes every test executable with this, so Windows tests run under
# Wine without any test knowing it. The runner keeps Wine quiet and its prefix
# inside the build tree.
find_program(OSTREL_WINE NAMES wine)
if(OSTREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
    env "OSTREL_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
    "${CMAKE_CURRENT_LIST_DIR}/wine-test-runner.sh")
endif()
