# GoogleTest for the unit tests. A native build uses the installed package; a
# cross build compiles GoogleTest for the target from Debian's source tree, so
# no host header or library is mixed into a Windows binary.

include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  set(OSTREL_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest source tree to build for the target")
  if(NOT EXISTS "${OSTREL_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR
      "GoogleTest sources not found at ${OSTREL_GOOGLETEST_SOURCE_DIR}; "
      "install Debian's googletest package or set OSTREL_GOOGLETEST_SOURCE_DIR")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory("${OSTREL_GOOGLETEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/_googletest" EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
  # Wine's first start in a fresh prefix takes several seconds.
  set(OSTREL_TEST_DISCOVERY_ARGS DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
else()
  find_package(GTest REQUIRED)
  set(OSTREL_TEST_DISCOVERY_ARGS)
endif()

# ostrel_add_unit_test(<name> SOURCES ... LIBRARIES ...)
function(ostrel_add_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  ostrel_configure_target(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main)
  gtest_discover_tests(${name} ${OSTREL_TEST_DISCOVERY_ARGS})
endfunction()
