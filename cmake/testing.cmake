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
#   tools     the setup scripts, the release writer and the test summary, on
#             inputs of their own
#   bench     the benchmarks' own tools (their call tape)
#   wine      runs under Wine (the Windows tree)
#   readme    README.md's examples, run as written (tests/readme/)
#   setup     readies what other tests need (a CTest fixture)
#   coverage  the coverage of src/ by the tests before it (the coverage tree)
if(WIN32)
  set(VEMORA_WINE_LABEL wine)
else()
  set(VEMORA_WINE_LABEL)
endif()

# vemora_test_labels(TEST LABEL...): the labels, and what they bring with
# them. A test labelled wine needs the fixture "wine" (Wine set up, one
# wineserver for the whole run, stopped after it; tests/CMakeLists.txt), and
# is skipped when it answers 77, the test harnesses' "skipped", as
# tools/wine-run.sh does when VEMORA_NO_WINE is set. In the coverage tree
# every test needs the fixture "coverage" (the counts cleared before the
# first, the coverage of src/ checked after the last; CMakeLists.txt).
function(vemora_test_labels name)
  set_tests_properties(${name} PROPERTIES LABELS "${ARGN}")
  if("wine" IN_LIST ARGN)
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED wine)
    set_property(TEST ${name} PROPERTY SKIP_RETURN_CODE 77)
  endif()
  if(VEMORA_COVERAGE)
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED coverage)
  endif()
endfunction()

# vemora_gtest_program(TARGET LABEL): a GoogleTest program, run whole as one
# test: under qemu-i386, with the sanitizers' runtime or under Wine, a
# process start costs more than most of the program's cases, one process a
# case would cost the Linux suite half its time. A failure's output names
# the case (`build/linux/run-i386 PROGRAM --gtest_filter=...` reruns one),
# and tools/test_summary.py counts the cases from the program's closing
# lines.
function(vemora_gtest_program target label)
  add_test(NAME ${target} COMMAND ${target})
  vemora_test_labels(${target} ${label} ${VEMORA_WINE_LABEL})
endfunction()

# What a test prints, followed by the make target to run, when something it
# needs from another tree or target is not there: CTest then skips it.
set(VEMORA_SKIP_MARK "SKIPPED:")
