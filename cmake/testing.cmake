# Every test carries labels saying what it exercises, so that `ctest -L e2e`
# runs one slice of a tree (README lists them):
#   unit      the plugin's code linked into a test program
#   library   vemora.so loaded through dlopen
#   dll       Vemora.dll: its built file checked, or loaded with LoadLibrary
#   stand-in  the stand-in host's own code
#   e2e       scripts run through the stand-in host and the real plugin
#   build     checks of the built files
#   release   the release archives and their writer
#   corpus    the fuzz corpus replayed
#   tools     the setup scripts and the release writer on inputs of their own
#   bench     the benchmarks' own tools (their call tape)
#   wine      runs under Wine (the Windows tree); `ctest -LE wine` runs the rest
#   setup     readies what other tests need (a CTest fixture)
#
# A test labelled wine needs the fixture "wine", whose setup test readies
# Wine (tools/setup-wine.sh), so that the Windows tree's ctest runs on its own.
if(WIN32)
  set(VEMORA_WINE_LABEL wine)
else()
  set(VEMORA_WINE_LABEL)
endif()

# vemora_test_labels(TEST LABEL...)
function(vemora_test_labels name)
  set_tests_properties(${name} PROPERTIES LABELS "${ARGN}")
  if("wine" IN_LIST ARGN)
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED wine)
  endif()
endfunction()

# What a test prints, followed by the make target to run, when something it
# needs from another tree or target is not there: CTest then skips it.
set(VEMORA_SKIP_MARK "SKIPPED:")
