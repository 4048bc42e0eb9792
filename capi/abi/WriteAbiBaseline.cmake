# Writes the ABI baseline of libostrel.so with abidw, as ostrel.h declares it
# (private types dropped, no locations, no paths of this machine), for the
# ABI check to compare every later build with. Run by the target
# ostrel-abi-baseline; only for a deliberate new major version (README: "The
# ABI promise").
#
#   cmake -DABIDW= -DLIBRARY= -DHEADERS= -DSOURCE= -DOUT= -P WriteAbiBaseline.cmake

cmake_minimum_required(VERSION 3.25)
foreach(variable ABIDW LIBRARY HEADERS SOURCE OUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "WriteAbiBaseline.cmake needs -D${variable}=...")
  endif()
endforeach()
execute_process(
  COMMAND "${ABIDW}" --no-corpus-path --no-comp-dir-path --no-show-locs --no-elf-needed
    --drop-private-types --exported-interfaces-only --headers-dir "${HEADERS}" "${LIBRARY}"
  OUTPUT_VARIABLE abi ERROR_VARIABLE problems RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "abidw failed (${status}): ${problems}")
endif()
string(REPLACE "${SOURCE}/" "" abi "${abi}")
file(WRITE "${OUT}" "${abi}")
message(STATUS "wrote ${OUT}")
