# Writes a C file that defines every function a copy of ostrel.h declares,
# each doing nothing, so that a library built from it has the ABI that header
# describes. With BREAK set, the header is first changed as a careless edit
# would change it (a parameter added to ostrel_startup_run): the ABI check
# must refuse the library built from that.
#
#   cmake -DHEADER=<ostrel.h> -DOUT=<folder> [-DBREAK=ON] -P MakeAbiStub.cmake
#
# <folder> gets ostrel.h (the copy, changed or not) and stub.c.

cmake_minimum_required(VERSION 3.25)
foreach(variable HEADER OUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "MakeAbiStub.cmake needs -D${variable}=...")
  endif()
endforeach()

file(READ "${HEADER}" header)
if(BREAK)
  set(before "ostrel_startup_run(ostrel_startup* s)")
  string(FIND "${header}" "${before}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the header no longer declares ${before}; change BREAK to break something else")
  endif()
  string(REPLACE "${before}" "ostrel_startup_run(ostrel_startup* s, int flags)" header "${header}")
endif()
file(WRITE "${OUT}/ostrel.h" "${header}")

# One declaration a line, white space folded, comments and the
# preprocessor's lines gone.
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" " " flat "${header}")
string(REGEX REPLACE "(^|\n)[ \t]*#[^\n]*" "\\1" flat "${flat}")
string(REGEX REPLACE "[ \t\r\n]+" " " flat "${flat}")
# A semicolon would split a CMake list: each declaration ends in a mark.
string(REPLACE ";" "<end>" flat "${flat}")
string(REGEX MATCHALL "OSTREL_API [^<]*<end>" declarations "${flat}")
set(stub "/* Generated from ${HEADER} by MakeAbiStub.cmake. */\n#include \"ostrel.h\"\n\n")
set(count 0)
foreach(declaration IN LISTS declarations)
  if(NOT declaration MATCHES "^OSTREL_API (.+) OSTREL_CALL ([a-z_0-9]+)\\((.*)\\)<end>$")
    message(FATAL_ERROR "cannot read the declaration: ${declaration}")
  endif()
  set(result "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_2}")
  set(parameters "${CMAKE_MATCH_3}")
  if(result STREQUAL "void")
    set(body "{}")
  else()
    set(body "{ return 0; }")
  endif()
  string(APPEND stub "OSTREL_API ${result} OSTREL_CALL ${name}(${parameters}) ${body}\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count LESS 10)
  message(FATAL_ERROR "only ${count} functions found in ${HEADER}")
endif()
file(WRITE "${OUT}/stub.c" "${stub}")
