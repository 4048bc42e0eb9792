# Project-wide switches and the INTERFACE targets that carry warning and
# sanitizer flags. Targets opt in by linking them PRIVATE, so nothing leaks to
# consumers and no global flag is touched.

option(OSTREL_BUILD_TESTS "Build the unit tests and register them with CTest" ON)
option(OSTREL_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
option(OSTREL_BUILD_BENCHMARKS "Build the benchmarks in bench/ (native builds only)" OFF)
option(OSTREL_BUILD_FUZZERS "Build the libFuzzer targets (clang only) and their bounded CTest runs" OFF)
set(OSTREL_SANITIZE "" CACHE STRING
  "Sanitizers for every project target: empty, address,undefined or thread")

# A folder's tests (tests/) and fuzzers (fuzz/), each when the build asks for
# them and the folder has them. A macro, so that they are added from the
# folder's own scope, as a plain add_subdirectory there would be.
macro(ostrel_add_test_folders)
  if(OSTREL_BUILD_TESTS AND IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/tests")
    add_subdirectory(tests)
  endif()
  if(OSTREL_BUILD_FUZZERS AND IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/fuzz")
    add_subdirectory(fuzz)
  endif()
endmacro()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

# The flag targets give their flags to the C and C++ compilers only: a
# Windows target's version resource goes through the resource compiler,
# which takes none of them.
add_library(ostrel_warnings INTERFACE)
add_library(ostrel::warnings ALIAS ostrel_warnings)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(ostrel_warnings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wpedantic>)
  if(OSTREL_WARNINGS_AS_ERRORS)
    target_compile_options(ostrel_warnings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:-Werror>)
  endif()
elseif(MSVC)
  target_compile_options(ostrel_warnings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:/W4 /permissive->)
  if(OSTREL_WARNINGS_AS_ERRORS)
    target_compile_options(ostrel_warnings INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:/WX>)
  endif()
endif()

add_library(ostrel_sanitizers INTERFACE)
add_library(ostrel::sanitizers ALIAS ostrel_sanitizers)
if(OSTREL_SANITIZE)
  if(OSTREL_SANITIZE MATCHES "thread" AND OSTREL_SANITIZE MATCHES "address")
    message(FATAL_ERROR "OSTREL_SANITIZE: thread and address sanitizers cannot share a build")
  endif()
  set(_ostrel_sanitize_flags -fsanitize=${OSTREL_SANITIZE} -fno-omit-frame-pointer)
  if(OSTREL_SANITIZE MATCHES "undefined")
    list(APPEND _ostrel_sanitize_flags -fno-sanitize-recover=undefined)
  endif()
  target_compile_options(ostrel_sanitizers INTERFACE
    "$<$<COMPILE_LANGUAGE:C,CXX>:${_ostrel_sanitize_flags}>")
  target_link_options(ostrel_sanitizers INTERFACE -fsanitize=${OSTREL_SANITIZE})
endif()

# Every project target: C++20, warnings, sanitizers. The flag targets are
# build-tree only: a static library would otherwise name them among its
# link dependencies in the installed package.
function(ostrel_configure_target target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  target_link_libraries(${target} PRIVATE
    $<BUILD_INTERFACE:ostrel::warnings> $<BUILD_INTERFACE:ostrel::sanitizers>)
endfunction()

# Console programs whose output is a byte-exact contract: on Windows the C
# runtime would otherwise turn every "\n" on stdout and stderr into "\r\n".
function(ostrel_use_binary_stdio target)
  if(WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/common/platform/BinaryStdioWindows.cpp)
  endif()
endfunction()
