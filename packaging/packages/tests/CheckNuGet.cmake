# The NuGet package: its layout and .nuspec; then a C# program of the
# tests' own (the C# binding's client, bindings/tests/OstrelClient.cs)
# compiled against the assembly unpacked from it, run by mono with the native
# library from its runtimes/linux-x64/native, through the package steps.
#
#   cmake -DSOURCE_DIR= -DDIST= -DVERSION= -DTESTS= -DWORK= -DLOADER= -DMCS= -DMONO=
#         -P CheckNuGet.cmake

cmake_minimum_required(VERSION 3.25)
include(${TESTS}/PackageTest.cmake)
ostrel_require_variables(SOURCE_DIR DIST VERSION WORK LOADER MCS MONO)
set(failures "")

set(package "${WORK}/package")
ostrel_unpack("${DIST}/Ostrel.${VERSION}.nupkg" "${package}")
set(assembly "${package}/lib/net461/Ostrel.dll")
ostrel_expect_files("${package}" "[Content_Types].xml" _rels/.rels Ostrel.nuspec README.md
  lib/net461/Ostrel.dll lib/net461/Ostrel.xml
  runtimes/win-x64/native/ostrel.dll runtimes/linux-x64/native/libostrel.so)
ostrel_expect_magic("${package}/runtimes/win-x64/native/ostrel.dll" 4d5a)          # "MZ"
ostrel_expect_magic("${package}/runtimes/linux-x64/native/libostrel.so" 7f454c46)  # "\x7fELF"
ostrel_expect_magic("${assembly}" 4d5a)
ostrel_expect_text("${package}/Ostrel.nuspec" "<id>Ostrel</id>" "<version>${VERSION}</version>"
  "<authors>The Ostrel developers</authors>" "<license type=\"expression\">MIT</license>"
  "<readme>README.md</readme>" "<description>Keeps an application's SteamVR registration right")
ostrel_expect_text("${package}/_rels/.rels" "Target=\"/Ostrel.nuspec\"")
ostrel_expect_text("${package}/README.md" "lib/net461/Ostrel.dll" "netstandard2.0")
ostrel_report_failures("Ostrel.${VERSION}.nupkg")

# The consumer, against the packed assembly alone.
set(app "${WORK}/app")
file(REMOVE_RECURSE "${app}")
file(MAKE_DIRECTORY "${app}")
file(COPY "${assembly}" DESTINATION "${app}")
ostrel_run("compiling the client against the packed assembly" "${MCS}" -nologo -warnaserror
  "-r:${app}/Ostrel.dll" "-out:${app}/OstrelClient.exe" "${SOURCE_DIR}/bindings/tests/OstrelClient.cs")
# The assembly carries the package's version.
file(WRITE "${app}/AssemblyVersion.cs"
  "static class AssemblyVersion { static void Main() { var a = typeof(Ostrel.Library).Assembly;\n"
  "  System.Console.WriteLine(a.GetName().Version + \" \" + ((System.Reflection.AssemblyInformationalVersionAttribute)\n"
  "    System.Attribute.GetCustomAttribute(a, typeof(System.Reflection.AssemblyInformationalVersionAttribute))).InformationalVersion); } }\n")
ostrel_run("compiling the version probe" "${MCS}" -nologo "-r:${app}/Ostrel.dll"
  "-out:${app}/AssemblyVersion.exe" "${app}/AssemblyVersion.cs")
ostrel_run("the version probe" "${MONO}" "${app}/AssemblyVersion.exe")
ostrel_expect_same("the assembly's versions" "${run_out}" "${VERSION}.0 ${VERSION}\n")
ostrel_report_failures("Ostrel.${VERSION}.nupkg's assembly")

# P/Invoke finds libostrel.so where the package puts it for linux-x64.
set(ENV{LD_LIBRARY_PATH} "${package}/runtimes/linux-x64/native")
ostrel_package_scenario("the NuGet package's C# client (mono)" "${MONO}" "${app}/OstrelClient.exe")
