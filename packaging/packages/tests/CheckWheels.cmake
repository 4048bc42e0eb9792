# The Python wheels: each holds the module and one native library inside the
# package, tagged for that library's platform; the Linux wheel installed by
# `pip install --no-index` into a fresh virtual environment is then enough to
# import ostrel and run it through the package steps (the library found
# inside the package: no OSTREL_LIBRARY, no LD_LIBRARY_PATH).
#
#   cmake -DSOURCE_DIR= -DDIST= -DVERSION= -DTESTS= -DWORK= -DLOADER= -DPYTHON=
#         -P CheckWheels.cmake
#
# PYTHON is Debian's python3, whose venv module brings pip offline.

cmake_minimum_required(VERSION 3.25)
include(${TESTS}/PackageTest.cmake)
ostrel_require_variables(SOURCE_DIR DIST VERSION WORK LOADER PYTHON)
set(failures "")

# check_wheel(<platform tag> <library> <magic>): the wheel's files, its tags,
# its version, and the library's kind.
function(check_wheel platform library magic)
  set(name "ostrel-${VERSION}-py3-none-${platform}.whl")
  set(folder "${WORK}/${platform}")
  ostrel_unpack("${DIST}/${name}" "${folder}")
  set(info "ostrel-${VERSION}.dist-info")
  ostrel_expect_files("${folder}" ostrel/__init__.py ostrel/_native.py "ostrel/${library}"
    ${info}/METADATA ${info}/WHEEL ${info}/top_level.txt ${info}/RECORD)
  ostrel_expect_text("${folder}/${info}/WHEEL" "Root-Is-Purelib: false\n"
    "Tag: py3-none-${platform}\n")
  ostrel_expect_text("${folder}/${info}/METADATA" "Name: ostrel\n" "Version: ${VERSION}\n"
    "License: MIT\n")
  ostrel_expect_magic("${folder}/ostrel/${library}" "${magic}")
  foreach(module __init__.py _native.py)
    file(SHA256 "${SOURCE_DIR}/bindings/python/ostrel/${module}" want)
    file(SHA256 "${folder}/ostrel/${module}" got)
    ostrel_expect_same("${name}: ostrel/${module}, the same as the source's" "${got}" "${want}")
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()
check_wheel(win_amd64 ostrel.dll 4d5a)          # "MZ"
check_wheel(linux_x86_64 libostrel.so 7f454c46) # "\x7fELF"
ostrel_report_failures("the wheels")

# A fresh virtual environment, the wheel installed offline.
set(venv "${WORK}/venv")
file(REMOVE_RECURSE "${venv}")
ostrel_run("a virtual environment" "${PYTHON}" -m venv "${venv}")
ostrel_run("pip install of the wheel" "${venv}/bin/python" -m pip install --no-index --no-deps
  --disable-pip-version-check --quiet "${DIST}/ostrel-${VERSION}-py3-none-linux_x86_64.whl")

unset(ENV{OSTREL_LIBRARY})
unset(ENV{LD_LIBRARY_PATH})
unset(ENV{PYTHONPATH})
set(ENV{PYTHONDONTWRITEBYTECODE} 1)
set(client "${venv}/bin/python" "${TESTS}/python/ostrel_client.py")
# The module imported is the installed one.
ostrel_run_program(which "${WORK}" ${client} version)
ostrel_expect_status(which 0)
string(FIND "${which_err}" "module: ${venv}/lib/" at)
if(NOT at EQUAL 0)
  string(APPEND failures "  the client imported another ostrel: ${which_err}\n")
endif()
ostrel_report_failures("the installed wheel")
ostrel_package_scenario("the Linux wheel in a virtual environment" ${client})
